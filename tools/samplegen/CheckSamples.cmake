# SPDX-License-Identifier: GPL-3.0-or-later
# Runs inkvale-samplegen (GEN) into a scratch folder (OUT) and fails unless it writes exactly
# the files committed in samples/ (SAMPLES), byte for byte.
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
execute_process(COMMAND "${GEN}" --out-dir "${OUT}" RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "inkvale-samplegen failed (${rc})")
endif()
file(GLOB written RELATIVE "${OUT}" "${OUT}/*")
if(NOT written)
    message(FATAL_ERROR "inkvale-samplegen wrote nothing")
endif()
foreach(name IN LISTS written)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${OUT}/${name}"
                            "${SAMPLES}/${name}" RESULT_VARIABLE differs)
    if(differs)
        message(FATAL_ERROR "samples/${name} is not what inkvale-samplegen writes now; "
                            "make the samples again (samples/README.md)")
    endif()
endforeach()

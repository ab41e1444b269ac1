# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a source file of a front end outside src/ (the command line, the service, the
# simulator) includes a header of a layer above TOP: such a front end uses the core's
# operations and events, never the desktop program's windows.
#
#   cmake -DDIRS="<folder>;..." -DLAYERS="<lowest>;...;<highest>" -DTOP=<layer> -P CheckFrontEnds.cmake
if(NOT DIRS OR NOT LAYERS OR NOT TOP)
    message(FATAL_ERROR "usage: cmake -DDIRS=\"a;b\" -DLAYERS=\"a;b;c\" -DTOP=b -P CheckFrontEnds.cmake")
endif()

list(FIND LAYERS "${TOP}" top)
if(top LESS 0)
    message(FATAL_ERROR "${TOP} is not a layer")
endif()
list(LENGTH LAYERS n)
set(violations "")
foreach(dir ${DIRS})
    get_filename_component(dir "${dir}" ABSOLUTE)
    file(GLOB_RECURSE files "${dir}/*.h" "${dir}/*.cpp")
    foreach(file ${files})
        file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"")
        foreach(line ${lines})
            string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" header "${line}")
            foreach(i RANGE 0 ${n})
                if(i EQUAL n)
                    break()
                endif()
                list(GET LAYERS ${i} layer)
                string(FIND "${header}" "${layer}/" at)
                if(at EQUAL 0 AND i GREATER top)
                    list(APPEND violations "${file} includes ${header}: ${layer} is above ${TOP}")
                endif()
            endforeach()
        endforeach()
    endforeach()
endforeach()

if(violations)
    list(JOIN violations "\n  " text)
    message(FATAL_ERROR "front ends that reach above ${TOP}:\n  ${text}")
endif()
message(STATUS "no front end reaches above ${TOP}")

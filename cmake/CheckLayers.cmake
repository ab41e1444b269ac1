# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a source file of a layer includes a header of a layer above it.
#
#   cmake -DSRC=<folder of the layers> -DLAYERS="<lowest>;...;<highest>" -P CheckLayers.cmake
#
# A layer is a folder of SRC, or a sub-folder such as machine/link. A file may include
# headers of its own layer and of the layers listed before it; `#include "layer/..."`
# naming a layer listed after it is a violation. Includes of anything that is not a layer
# are not checked.
if(NOT SRC OR NOT LAYERS)
    message(FATAL_ERROR "usage: cmake -DSRC=DIR -DLAYERS=\"a;b;c\" -P CheckLayers.cmake")
endif()

get_filename_component(SRC "${SRC}" ABSOLUTE)
set(violations "")
list(LENGTH LAYERS n)
foreach(rank RANGE 0 ${n})
    if(rank EQUAL n)
        break()
    endif()
    list(GET LAYERS ${rank} layer)
    file(GLOB_RECURSE files "${SRC}/${layer}/*.h" "${SRC}/${layer}/*.cpp")
    foreach(file ${files})
        file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"")
        foreach(line ${lines})
            string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" header "${line}")
            # The layer of the header: the listed folder it lies in (a layer may be a
            # sub-folder, such as machine/link).
            set(other -1)
            set(top "")
            foreach(i RANGE 0 ${n})
                if(i EQUAL n)
                    break()
                endif()
                list(GET LAYERS ${i} candidate)
                string(FIND "${header}" "${candidate}/" at)
                if(at EQUAL 0)
                    set(other ${i})
                    set(top "${candidate}")
                endif()
            endforeach()
            if(other GREATER rank)
                file(RELATIVE_PATH rel "${SRC}" "${file}")
                list(APPEND violations "${rel} includes ${header}: ${top} is above ${layer}")
            endif()
        endforeach()
    endforeach()
endforeach()

if(violations)
    list(JOIN violations "\n  " text)
    message(FATAL_ERROR "includes that go up a layer:\n  ${text}")
endif()
message(STATUS "no include goes up a layer (${n} layers)")

# SPDX-License-Identifier: GPL-3.0-or-later
# Helpers shared by every CMakeLists of the project.

# Warnings as errors on our own code only (never on system headers).
function(inkvale_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
        -Wcast-align -Woverloaded-virtual -Wnull-dereference -Wimplicit-fallthrough
        -Werror
        # GCC 12 reports -Wrestrict inside std::string copies at -O2/-O3 where none exists
        # (GCC bug 105329); it would fail release builds of correct code.
        $<$<CXX_COMPILER_ID:GNU>:-Wno-restrict>)
endfunction()

# A library made of every source file in its folder. Files are found by glob with
# CONFIGURE_DEPENDS so that adding a file to a layer needs no edit here.
function(inkvale_layer name)
    cmake_parse_arguments(L "QT" "" "DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS
        "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
    list(FILTER sources INCLUDE REGEX "\\.cpp$")
    if(NOT sources)
        # A layer whose first files have not landed yet still takes part in the graph.
        add_library(inkvale_${name} INTERFACE)
        target_include_directories(inkvale_${name} INTERFACE "${PROJECT_SOURCE_DIR}/src")
        target_link_libraries(inkvale_${name} INTERFACE ${L_DEPS})
        return()
    endif()
    file(GLOB headers CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
    add_library(inkvale_${name} STATIC ${sources} ${headers})
    target_include_directories(inkvale_${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(inkvale_${name} PUBLIC ${L_DEPS})
    inkvale_warnings(inkvale_${name})
endfunction()

# One test executable per folder of tests/, discovered test by test by CTest.
function(inkvale_test_dir name)
    cmake_parse_arguments(T "" "" "DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.cpp")
    if(NOT sources)
        return()
    endif()
    add_executable(test_${name} ${sources})
    target_link_libraries(test_${name} PRIVATE ${T_DEPS} inkvale_testsupport GTest::gtest_main GTest::gmock)
    inkvale_warnings(test_${name})
    gtest_discover_tests(test_${name}
        WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}"
        DISCOVERY_MODE PRE_TEST
        # Files the program removes go to the desktop trash: the tests' own, never the
        # user's.
        PROPERTIES LABELS "${name}" TIMEOUT 120
            ENVIRONMENT "XDG_DATA_HOME=${CMAKE_BINARY_DIR}/test-data-home")
endfunction()

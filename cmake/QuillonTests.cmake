# GoogleTest and the way test programs become ctest tests, on both platforms.
#
# Linux uses the system's GoogleTest and one ctest test per test case. For Windows, GoogleTest is
# built from Debian's sources with the cross compiler, and every test program is one ctest test:
# under Wine each process start costs a good part of a second, so running each case in a process
# of its own would cost minutes.
include(GoogleTest)
if(WIN32)
    set(QUILLON_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources for MinGW")
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    add_subdirectory(${QUILLON_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL
                     SYSTEM)
else()
    find_package(GTest REQUIRED)
endif()

# quillon_add_gtest(TARGET [LABELS label...]): registers the GoogleTest program TARGET.
function(quillon_add_gtest target)
    cmake_parse_arguments(arg "" "" "LABELS" ${ARGN})
    if(WIN32)
        add_test(NAME ${target} COMMAND ${target} --gtest_brief=1)
        if(arg_LABELS)
            set_tests_properties(${target} PROPERTIES LABELS "${arg_LABELS}")
        endif()
    else()
        if(arg_LABELS)
            gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST PROPERTIES LABELS "${arg_LABELS}")
        else()
            gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST)
        endif()
    endif()
endfunction()

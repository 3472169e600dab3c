# Small helpers so that every module, tool and test is declared the same way. A source that a
# target names and that does not exist fails the configure step.

# Adds every direct sub-folder of the current source folder that holds a CMakeLists.txt.
# Modules only need a folder of their own: nobody edits a shared list to add one.
function(zel_add_subdirectories)
    file(GLOB children RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
    list(SORT children)
    foreach(child IN LISTS children)
        if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
            add_subdirectory(${child})
        endif()
    endforeach()
endfunction()

# zel_add_module(NAME SOURCES ... [DEPS ...] [PUBLIC_DEPS ...])
# A static, position-independent library that the component and the tests link.
function(zel_add_module name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PUBLIC_DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/include)
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_DEPS} PRIVATE ${ARG_DEPS})
endfunction()

# zel_add_test(NAME SOURCES ... [LIBS ...] [LABELS ...])
# A GoogleTest program whose tests ctest lists one by one, each with every label given. Every
# test runs with the offscreen Qt platform. NAME is zel_<module>_tests.
function(zel_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    if(NOT name MATCHES "^zel_[a-z0-9_]+_tests$")
        message(FATAL_ERROR "test target ${name}: test targets are named zel_<module>_tests")
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} zel_test_support GTest::gtest GTest::gtest_main GTest::gmock)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/include
                                               ${PROJECT_SOURCE_DIR}/tests)
    target_compile_definitions(${name} PRIVATE ZEL_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
                                               ZEL_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                               ZEL_BIN_DIR="${ZEL_OUTPUT_DIR}")
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    gtest_discover_tests(${name}
        DISCOVERY_TIMEOUT 60
        TEST_LIST ${name}_list
        PROPERTIES
            TIMEOUT 300
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    # gtest_discover_tests flattens a list given in PROPERTIES (a second label would become a
    # property name), so the labels are set by a script ctest reads after the discovered tests.
    if(ARG_LABELS)
        set(labels_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_labels.cmake)
        file(WRITE ${labels_file}
             "if(${name}_list)\n  set_tests_properties(\${${name}_list} PROPERTIES LABELS \"${ARG_LABELS}\")\nendif()\n")
        set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${labels_file})
    endif()
endfunction()

# zel_add_benchmark(NAME SOURCES ... [LIBS ...])
# A Google Benchmark program, named bench_<module>.
function(zel_add_benchmark name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    if(NOT name MATCHES "^bench_[a-z0-9_]+$")
        message(FATAL_ERROR "benchmark target ${name}: benchmark targets are named bench_<module>")
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark benchmark::benchmark_main)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/include)
    target_compile_definitions(${name} PRIVATE ZEL_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
                                               ZEL_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()

# zel_add_fuzzer(NAME SOURCES ... [LIBS ...])
# A libFuzzer target, named fuzz_<module>; only built with -DZEL_BUILD_FUZZERS=ON and clang, e.g.
#   cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DZEL_BUILD_FUZZERS=ON \
#         -DZEL_BUILD_TESTS=OFF -DZEL_BUILD_BENCHMARKS=OFF
function(zel_add_fuzzer name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    if(NOT name MATCHES "^fuzz_[a-z0-9_]+$")
        message(FATAL_ERROR "fuzz target ${name}: fuzz targets are named fuzz_<module>")
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/include)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
endfunction()

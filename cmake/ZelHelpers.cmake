# Small helpers so that every module, tool and test is declared the same way.

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

# True in OUT when every listed source exists. Several people add folders to one working tree
# at once; a folder whose CMakeLists already names a file not written yet is skipped with a
# warning instead of breaking everybody's configure step.
function(zel_sources_exist out)
    foreach(src IN LISTS ARGN)
        if(NOT IS_ABSOLUTE ${src})
            set(src ${CMAKE_CURRENT_SOURCE_DIR}/${src})
        endif()
        if(NOT EXISTS ${src})
            message(WARNING "Skipping a target of ${CMAKE_CURRENT_SOURCE_DIR}: ${src} does not exist")
            set(${out} FALSE PARENT_SCOPE)
            return()
        endif()
    endforeach()
    set(${out} TRUE PARENT_SCOPE)
endfunction()

# zel_add_module(NAME SOURCES ... [DEPS ...] [PUBLIC_DEPS ...])
# A static, position-independent library that the component and the tests link.
function(zel_add_module name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PUBLIC_DEPS" ${ARGN})
    zel_sources_exist(ok ${ARG_SOURCES})
    if(NOT ok)
        return()
    endif()
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/include)
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_DEPS} PRIVATE ${ARG_DEPS})
endfunction()

# zel_add_test(NAME SOURCES ... [LIBS ...] [LABELS ...])
# A GoogleTest program whose tests ctest lists one by one, under its first label. Every test
# runs with the offscreen Qt platform.
function(zel_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    zel_sources_exist(ok ${ARG_SOURCES})
    if(NOT ok)
        return()
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} zel_test_support GTest::gtest GTest::gtest_main GTest::gmock)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/include
                                               ${PROJECT_SOURCE_DIR}/tests)
    target_compile_definitions(${name} PRIVATE ZEL_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
                                               ZEL_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                               ZEL_BIN_DIR="${ZEL_OUTPUT_DIR}")
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    # gtest_discover_tests flattens lists given in PROPERTIES (a second value would become a
    # property name of its own), so every property here takes exactly one value: the first label.
    set(label "")
    if(ARG_LABELS)
        list(GET ARG_LABELS 0 label)
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_TIMEOUT 60
        PROPERTIES
            LABELS "${label}"
            TIMEOUT 300
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# zel_add_benchmark(NAME SOURCES ... [LIBS ...])
function(zel_add_benchmark name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    zel_sources_exist(ok ${ARG_SOURCES})
    if(NOT ok)
        return()
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark benchmark::benchmark_main)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/include)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()

# zel_add_fuzzer(NAME SOURCES ... [LIBS ...])
# A libFuzzer target; only built with -DZEL_BUILD_FUZZERS=ON and clang, e.g.
#   cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DZEL_BUILD_FUZZERS=ON \
#         -DZEL_BUILD_TESTS=OFF -DZEL_BUILD_BENCHMARKS=OFF
function(zel_add_fuzzer name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    zel_sources_exist(ok ${ARG_SOURCES})
    if(NOT ok)
        return()
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/include)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
endfunction()

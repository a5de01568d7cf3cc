# Shared build helpers.

function(tavizo_common_flags)
  if(MSVC)
    add_compile_options(/W4 /utf-8)
  else()
    add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                        -Wcast-align -Woverloaded-virtual -Wnull-dereference)
    if(TAVIZO_WERROR)
      add_compile_options(-Werror)
    endif()
    if(TAVIZO_SANITIZE)
      add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                          -fno-sanitize-recover=undefined)
      add_link_options(-fsanitize=address,undefined)
    endif()
    if(TAVIZO_TSAN)
      add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
      add_link_options(-fsanitize=thread)
    endif()
    if(TAVIZO_FUZZ)
      # All code of a fuzz tree carries coverage and the sanitizers, so that the fuzzers
      # see into the libraries; every program links the sanitizer runtimes (which also
      # define the coverage hooks), and only the fuzz targets add libFuzzer's own main
      # (tavizo_add_fuzzer).
      add_compile_options(-fsanitize=fuzzer-no-link,address,undefined
                          -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
      add_link_options(-fsanitize=address,undefined)
    endif()
  endif()
  if(WIN32)
    add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN)
  endif()
endfunction()

# Sources of one folder tree, excluding the platform backends (which are chosen per
# target system) and any folder named in EXCLUDE.
function(tavizo_glob_sources out root)
  cmake_parse_arguments(ARG "" "" "EXCLUDE" ${ARGN})
  file(GLOB_RECURSE files CONFIGURE_DEPENDS
       ${root}/*.cpp ${root}/*.c)
  foreach(ex IN LISTS ARG_EXCLUDE)
    list(FILTER files EXCLUDE REGEX "^${root}/${ex}/")
  endforeach()
  set(${out} ${files} PARENT_SCOPE)
endfunction()

# One GoogleTest executable per folder under tests/ that holds .cpp files. Folders
# under tests/integration/ are labelled "integration", the rest "unit".
function(tavizo_add_test_folder dir)
  file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  file(RELATIVE_PATH rel ${CMAKE_CURRENT_SOURCE_DIR} ${dir})
  string(REPLACE "/" "_" name "test_${rel}")
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE tavizo_testing quenta arbor GTest::gtest_main GTest::gmock)
  set(label unit)
  if(rel MATCHES "^integration")
    set(label integration)
  endif()
  add_test(NAME ${rel} COMMAND ${name})
  set_tests_properties(${rel} PROPERTIES LABELS ${label} TIMEOUT 600
                       WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endfunction()

# One libFuzzer target: SOURCE built into NAME (fuzz_<folder>, whose seeds scripts/test
# takes from fuzz/<folder>/corpus), linked with libFuzzer's main and the libraries after it.
function(tavizo_add_fuzzer name source)
  add_executable(${name} ${source})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${ARGN})
endfunction()

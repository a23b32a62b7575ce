# Settings shared by every target of our own: language level, warnings, the text encoding of
# string literals, and the helpers that register tests.

# Our strings are single-byte text in the ANSI code page of the target systems (Windows-1251).
# Sources are UTF-8; narrow literals are compiled to Windows-1251 bytes in both configurations,
# so that native tests see exactly the bytes the Windows program holds.
set(QVN_EXEC_CHARSET CP1251)

function(qvn_target_defaults target)
  target_compile_features(${target} PUBLIC cxx_std_20)
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Werror>)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE
      $<$<COMPILE_LANGUAGE:CXX>:-fexec-charset=${QVN_EXEC_CHARSET}>)
  endif()
  if(QVN_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
      -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

function(qvn_library name)
  add_library(${name} STATIC ${ARGN})
  qvn_target_defaults(${name})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# qvn_test(NAME name SOURCES ... LIBS ...)
# One GoogleTest executable, registered as one CTest test. Its JUnit report goes to
# reports/<name>.xml under the build folder, which test.sh counts case by case.
function(qvn_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  qvn_target_defaults(${T_NAME})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gmock_main)
  set(report ${QVN_REPORT_DIR}/${T_NAME}.xml)
  if(CMAKE_CROSSCOMPILING AND WIN32)
    # Under Wine the Linux file system is drive Z:; a Windows program takes a path without a
    # drive for a relative one and would write the report below its working directory.
    set(report "Z:${report}")
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_NAME} --gtest_output=xml:${report}
           WORKING_DIRECTORY $<TARGET_FILE_DIR:${T_NAME}>)
endfunction()

# velmorin_add_gtest(NAME SOURCES src... [LIBS lib...] [DRIVE X:] [TIMEOUT s])
# One GoogleTest program = one CTest entry, started through wine64 (the emulator).
# DRIVE maps that drive letter to a fresh temporary folder and starts the test there,
# so root-relative paths ("\status.txt") never touch the machine's own root.
function(velmorin_add_gtest name)
  cmake_parse_arguments(T "" "DRIVE;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gmock gtest_main)
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set(env "")
  if(T_DRIVE)
    list(APPEND env "WINRUN_DRIVE=${T_DRIVE}")
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 600)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} ENVIRONMENT "${env}")
endfunction()

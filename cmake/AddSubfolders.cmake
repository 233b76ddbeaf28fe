# add_subfolders(): adds every sub-folder of the current source folder that has a
# CMakeLists.txt, in name order, so each area (a test suite, a host, a layer) adds itself.
function(add_subfolders)
  file(GLOB _subs LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT _subs)
  foreach(_sub ${_subs})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${_sub}/CMakeLists.txt)
      add_subdirectory(${_sub})
    endif()
  endforeach()
endfunction()

# A subsystem library from the sources found in its folder. A library whose
# sources have not been written yet is an interface library, so that the tree
# configures and the program links while subsystems arrive one by one.
function(zarvex_library name)
  if(ARGN)
    add_library(${name} STATIC ${ARGN})
    set(scope PUBLIC)
  else()
    add_library(${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  set(ZARVEX_LIBRARY_SCOPE ${scope} PARENT_SCOPE)
endfunction()

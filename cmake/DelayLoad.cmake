# Delay-loaded DLLs: a program linked with vt_delay_load(<target> <dll>...)
# loads each of those DLLs only when it first calls one of its functions, so
# start-up does not pay for DLLs it never needs at once. The delay-import
# library comes from cmake/delayload/<dll>.def (dlltool --output-delaylib)
# under the normal library's name, in a folder that the target's linker
# searches first: every -l<dll> of the link line takes it instead. A function
# missing from the .def fails the link (undefined reference).

# GNU ld keeps a delay-import library's load stub only when the program calls
# the function's stub, not its __imp_ pointer straight away (what a dllimport
# declaration compiles to): it would leave the pointer zero and the first
# call would jump to address 0. Declared without dllimport, calls into these
# DLLs go through the stub, for every program (a normal import library has
# the same stub: one jump more, no other difference).
add_compile_definitions(_WINMM_ _OLE32_ _COMDLG32_)

# The .def files name the x86 (stdcall) symbols, FunctionName@<argument
# bytes>; x64 has one calling convention and undecorated names, so its copy
# of each .def drops the suffix. The helper the stubs call is decorated the
# same way.
if(NOT CMAKE_DLLTOOL)
  message(FATAL_ERROR "No dlltool: the toolchain file names the MinGW-w64 compilers it comes with")
endif()
if(VT_ARCH STREQUAL "x64")
  set(vt_dlltool_machine -m i386:x86-64)
  set(vt_delay_helper __delayLoadHelper2)
else()
  set(vt_dlltool_machine -m i386 --as-flags=--32)
  set(vt_delay_helper ___delayLoadHelper2@8)
endif()

function(vt_delay_load target)
  set(dir ${CMAKE_BINARY_DIR}/delayload)
  foreach(dll ${ARGN})
    set(lib ${dir}/lib${dll}.a)
    if(NOT TARGET vt_delay_${dll})
      set(def ${PROJECT_SOURCE_DIR}/cmake/delayload/${dll}.def)
      if(VT_ARCH STREQUAL "x64")
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def})
        file(READ ${def} text)
        string(REGEX REPLACE "@[0-9]+" "" text "${text}")
        set(def ${dir}/${dll}.def)
        file(WRITE ${def} "${text}")
      endif()
      add_custom_command(OUTPUT ${lib}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
        COMMAND ${CMAKE_DLLTOOL} ${vt_dlltool_machine} -k -d ${def} -y ${lib}
        DEPENDS ${PROJECT_SOURCE_DIR}/cmake/delayload/${dll}.def
        COMMENT "Delay-import library of ${dll}")
      add_custom_target(vt_delay_${dll} DEPENDS ${lib})
    endif()
    add_dependencies(${target} vt_delay_${dll})
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${lib})
  endforeach()
  target_link_options(${target} PRIVATE -L${dir})
  # __delayLoadHelper2, which the stubs call on first use: asked for up
  # front, since libdelayimp.a may come before the first stub on the line.
  target_link_options(${target} PRIVATE -Wl,-u,${vt_delay_helper})
  target_link_libraries(${target} PRIVATE delayimp)
  set_property(TARGET ${target} APPEND PROPERTY VT_DELAY_LOADED ${ARGN})
endfunction()

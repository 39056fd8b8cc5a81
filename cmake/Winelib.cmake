# Build rules for Winelib modules: resource scripts (wrc), interface definitions (widl)
# and DLL exports (.spec files).

find_program(WRC_PROGRAM NAMES wrc wrc-stable REQUIRED)
find_program(WIDL_PROGRAM NAMES widl widl-stable REQUIRED)
find_path(WINE_INCLUDE_DIR windows.h PATHS /usr/include/wine/wine/windows /usr/include/wine/windows
          NO_DEFAULT_PATH REQUIRED)

# wine_resources(<target> <file.rc>... [INCLUDES dir...] [DEPENDS file...])
# Compiles each resource script to a .res file and links it into the module.
function(wine_resources target)
  cmake_parse_arguments(ARG "" "" "INCLUDES;DEPENDS" ${ARGN})
  set(incs -I${WINE_INCLUDE_DIR} -I${CMAKE_SOURCE_DIR}/platform/common
           -I${CMAKE_CURRENT_SOURCE_DIR} -I${CMAKE_CURRENT_BINARY_DIR})
  # Ninja cannot scan a resource script's includes, and bitmaps are named in the script, not
  # included: every script, header and image of the folders searched is a dependency, so that a
  # changed dialog or bitmap in an included script is never left out of a module.
  set(resource_globs)
  foreach(dir ${CMAKE_CURRENT_SOURCE_DIR} ${ARG_INCLUDES})
    foreach(ext rc h bmp cur ico)
      list(APPEND resource_globs ${dir}/*.${ext})
    endforeach()
  endforeach()
  file(GLOB resource_files CONFIGURE_DEPENDS ${resource_globs})
  foreach(dir ${ARG_INCLUDES})
    list(APPEND incs -I${dir})
  endforeach()
  foreach(rc ${ARG_UNPARSED_ARGUMENTS})
    get_filename_component(name ${rc} NAME_WE)
    get_filename_component(abs ${rc} ABSOLUTE)
    set(res ${CMAKE_CURRENT_BINARY_DIR}/${name}.res)
    add_custom_command(OUTPUT ${res}
      COMMAND ${WRC_PROGRAM} ${incs} -o ${res} ${abs}
      DEPENDS ${abs} ${ARG_DEPENDS} ${resource_files}
              ${CMAKE_SOURCE_DIR}/platform/common/module_version.rc
      COMMENT "Compiling resources ${name}.rc" VERBATIM)
    target_sources(${target} PRIVATE ${res})
    set_source_files_properties(${res} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
  endforeach()
endfunction()

# wine_idl(<target> <file.idl> [TLB]) generates <name>.h (and <name>_i.c with the GUIDs,
# and <name>.tlb when TLB is given) in the target's binary folder.
function(wine_idl target idl)
  cmake_parse_arguments(ARG "TLB" "" "" ${ARGN})
  get_filename_component(name ${idl} NAME_WE)
  get_filename_component(abs ${idl} ABSOLUTE)
  set(out ${CMAKE_CURRENT_BINARY_DIR})
  set(incs -I${WINE_INCLUDE_DIR} -I${CMAKE_CURRENT_SOURCE_DIR} -I${out})
  add_custom_command(OUTPUT ${out}/${name}.h ${out}/${name}_i.c
    COMMAND ${WIDL_PROGRAM} ${incs} -h -o ${out}/${name}.h ${abs}
    COMMAND ${WIDL_PROGRAM} ${incs} -u -o ${out}/${name}_i.c ${abs}
    DEPENDS ${abs} COMMENT "Generating ${name}.h" VERBATIM)
  target_sources(${target} PRIVATE ${out}/${name}.h ${out}/${name}_i.c)
  if(ARG_TLB)
    add_custom_command(OUTPUT ${out}/${name}.tlb
      COMMAND ${WIDL_PROGRAM} ${incs} -t -o ${out}/${name}.tlb ${abs}
      DEPENDS ${abs} COMMENT "Generating ${name}.tlb" VERBATIM)
    target_sources(${target} PRIVATE ${out}/${name}.tlb)
  endif()
  target_include_directories(${target} PRIVATE ${out})
endfunction()

set(WINE_SYSTEM_LIBS user32 gdi32 comctl32 comdlg32 ole32 oleaut32 uuid advapi32 shell32
    winmm version mpr winspool msvfw32)

# The same imports by path: a static library that links them this way keeps them after
# itself on every link line (CMake does not drop a repeated path as it may a plain name),
# so that its members still find them when the linker meets the library late in the line.
set(WINE_SYSTEM_IMPORTS)
foreach(lib ${WINE_SYSTEM_LIBS})
  find_file(WINE_IMPORT_${lib} lib${lib}.a
            PATHS /usr/lib/x86_64-linux-gnu/wine/x86_64-unix /usr/lib/wine/x86_64-unix
            NO_DEFAULT_PATH)
  if(WINE_IMPORT_${lib})
    list(APPEND WINE_SYSTEM_IMPORTS ${WINE_IMPORT_${lib}})
  endif()
endforeach()

# wine_module(<name> DLL|OCX|EXE [GUI] EXPORTS <file.spec> RC <file>... [RC_INCLUDES dir...]
#             SOURCES ... LIBS ...)
# A Winelib module: <name>.dll.so, <name>.ocx.so or <name>.exe.so (with its launcher).
function(wine_module name kind)
  cmake_parse_arguments(ARG "GUI" "EXPORTS" "RC;RC_INCLUDES;SOURCES;LIBS" ${ARGN})
  if(kind STREQUAL "EXE")
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES SUFFIX ".exe")
    if(ARG_GUI)
      target_link_options(${name} PRIVATE -mwindows)
    endif()
  else()
    add_library(${name} SHARED ${ARG_SOURCES})
    string(TOLOWER ${kind} ext)
    set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".${ext}.so")
  endif()
  if(ARG_EXPORTS)
    get_filename_component(exports ${ARG_EXPORTS} ABSOLUTE)
    target_link_options(${name} PRIVATE ${exports})
    set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${exports})
  endif()
  if(ARG_RC)
    wine_resources(${name} ${ARG_RC} INCLUDES ${ARG_RC_INCLUDES})
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} ${WINE_SYSTEM_LIBS})
endfunction()

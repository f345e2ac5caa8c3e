# The layers of the program, lowest first. A library may link, and a source file
# may include, only what lies in its own layer or below; links never form a
# cycle. Each entry is one layer: the folders it holds, separated by blanks. A
# library or file belongs to the layer of the longest listed folder holding it;
# a folder with a leading "=" holds only itself, not the folders below it.
#
# game/render sits below game/system: it needs only the engine, and the game
# system's credit overlay draws with its sprite drawer and shader generator.
# engine/platform/helper (the shader assembler and image loader) is no backend:
# it sits beside the interfaces, and the render device builds on it.
# The last layer holds the composition roots: the program's main and the tools.
set(MARELDON_LAYERS
    "engine/core"
    "=engine/platform engine/platform/helper"
    "engine/platform/sdl engine/platform/gl engine/platform/posix engine/platform/serial engine/platform/recording engine/platform/av"
    "engine/render"
    "game/render"
    "game/system"
    "game/stage"
    "game/objects"
    "game/bosses"
    "game/screens"
    "game/testmode"
    "=game tools")

# The backends of the platform services. Only other backends and the
# composition roots (the last layer, and the tests) link them or include their
# headers; everything else reaches a service through its interface in
# engine/platform and is handed the backend.
set(MARELDON_BACKENDS engine/platform/sdl engine/platform/gl engine/platform/posix engine/platform/serial
                      engine/platform/recording engine/platform/av)

# Sets OUT to the index of the layer holding FOLDER (a path below the source
# root), or to -1 when no layer holds it.
function(mareldon_layer_of folder out)
  set(best -1)
  set(bestLength -1)
  set(index 0)
  foreach(layer IN LISTS MARELDON_LAYERS)
    string(REPLACE " " ";" members "${layer}")
    foreach(member IN LISTS members)
      set(below TRUE)
      if(member MATCHES "^=")
        string(SUBSTRING "${member}" 1 -1 member)
        set(below FALSE)
      endif()
      string(LENGTH "${member}" length)
      if((folder STREQUAL member OR (below AND folder MATCHES "^${member}/")) AND length GREATER bestLength)
        set(best ${index})
        set(bestLength ${length})
      endif()
    endforeach()
    math(EXPR index "${index} + 1")
  endforeach()
  set(${out} ${best} PARENT_SCOPE)
endfunction()

# Sets OUT to TRUE when FOLDER is a backend's.
function(mareldon_is_backend folder out)
  set(result FALSE)
  foreach(backend IN LISTS MARELDON_BACKENDS)
    if(folder STREQUAL backend OR folder MATCHES "^${backend}/")
      set(result TRUE)
    endif()
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# Sets OUT to TRUE when FOLDER may link backends and include their headers: a
# backend itself, or a composition root (the last layer).
function(mareldon_may_use_backends folder out)
  mareldon_is_backend("${folder}" result)
  mareldon_layer_of("${folder}" layer)
  list(LENGTH MARELDON_LAYERS count)
  math(EXPR top "${count} - 1")
  if(layer EQUAL top)
    set(result TRUE)
  endif()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# Checks a link graph against the layers. NAMES lists the libraries; for each
# name the caller sets <name>_FOLDER (below the source root) and <name>_LINKS
# (what it links; names outside NAMES are third-party and not checked). Sets OUT
# to one message per violation, empty when the graph keeps the order.
function(mareldon_link_violations out)
  cmake_parse_arguments(ARG "" "" "NAMES" ${ARGN})
  set(messages "")
  foreach(name IN LISTS ARG_NAMES)
    mareldon_layer_of("${${name}_FOLDER}" layer)
    if(layer LESS 0)
      list(APPEND messages "${name} (${${name}_FOLDER}) is in no layer: add its folder to MARELDON_LAYERS")
      continue()
    endif()
    mareldon_may_use_backends("${${name}_FOLDER}" mayUseBackends)
    foreach(link IN LISTS ${name}_LINKS)
      if(NOT link IN_LIST ARG_NAMES)
        continue()
      endif()
      mareldon_layer_of("${${link}_FOLDER}" linkLayer)
      mareldon_is_backend("${${link}_FOLDER}" linkIsBackend)
      if(linkLayer GREATER layer)
        list(APPEND messages "${name} (${${name}_FOLDER}) links ${link} (${${link}_FOLDER}), a layer above it")
      elseif(linkIsBackend AND NOT mayUseBackends)
        list(APPEND messages "${name} (${${name}_FOLDER}) links the backend ${link}: only the composition roots may")
      endif()
    endforeach()
  endforeach()

  # Cycles: drop libraries that link nothing left, then those nothing left
  # links; whatever stays lies on a cycle.
  set(left ${ARG_NAMES})
  set(changed TRUE)
  while(changed)
    set(changed FALSE)
    set(kept "")
    foreach(name IN LISTS left)
      set(drop TRUE)
      foreach(link IN LISTS ${name}_LINKS)
        if(link IN_LIST left)
          set(drop FALSE)
        endif()
      endforeach()
      if(NOT drop)
        set(linked FALSE)
        foreach(other IN LISTS left)
          if(name IN_LIST ${other}_LINKS)
            set(linked TRUE)
            break()
          endif()
        endforeach()
        if(NOT linked)
          set(drop TRUE)
        endif()
      endif()
      if(drop)
        set(changed TRUE)
      else()
        list(APPEND kept ${name})
      endif()
    endforeach()
    set(left ${kept})
  endwhile()
  if(left)
    list(JOIN left ", " cycle)
    list(APPEND messages "these libraries link each other in a cycle: ${cycle}")
  endif()
  set(${out} "${messages}" PARENT_SCOPE)
endfunction()

# Sets OUT to one message per quoted #include of FILES (paths below ROOT) that
# names a folder in a layer above the file's own.
function(mareldon_include_violations out)
  cmake_parse_arguments(ARG "" "ROOT" "FILES" ${ARGN})
  set(messages "")
  foreach(file IN LISTS ARG_FILES)
    get_filename_component(folder "${file}" DIRECTORY)
    mareldon_layer_of("${folder}" layer)
    if(layer LESS 0)
      continue()
    endif()
    mareldon_may_use_backends("${folder}" mayUseBackends)
    file(STRINGS "${ARG_ROOT}/${file}" includes REGEX "^#include \"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"([^\"]*)\".*" "\\1" header "${line}")
      get_filename_component(headerFolder "${header}" DIRECTORY)
      mareldon_layer_of("${headerFolder}" headerLayer)
      mareldon_is_backend("${headerFolder}" headerIsBackend)
      if(headerLayer GREATER layer)
        list(APPEND messages "${file} includes ${header}, a layer above it")
      elseif(headerIsBackend AND NOT mayUseBackends)
        list(APPEND messages "${file} includes the backend header ${header}: only the composition roots may")
      endif()
    endforeach()
  endforeach()
  set(${out} "${messages}" PARENT_SCOPE)
endfunction()

# The check of the whole tree, run once every library is defined: fails the
# configuration on a link or an include against the order.
function(mareldon_check_layers)
  get_property(names GLOBAL PROPERTY MARELDON_LIBRARIES)
  foreach(name IN LISTS names)
    get_property(${name}_FOLDER GLOBAL PROPERTY MARELDON_FOLDER_${name})
    get_target_property(type ${name} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(${name}_LINKS ${name} INTERFACE_LINK_LIBRARIES)
    else()
      get_target_property(${name}_LINKS ${name} LINK_LIBRARIES)
    endif()
    if(NOT ${name}_LINKS)
      set(${name}_LINKS "")
    endif()
  endforeach()
  mareldon_link_violations(linkErrors NAMES ${names})

  file(GLOB_RECURSE sources RELATIVE ${PROJECT_SOURCE_DIR} CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/engine/*.h
       ${PROJECT_SOURCE_DIR}/engine/*.cpp ${PROJECT_SOURCE_DIR}/game/*.h ${PROJECT_SOURCE_DIR}/game/*.cpp
       ${PROJECT_SOURCE_DIR}/tools/*.h ${PROJECT_SOURCE_DIR}/tools/*.cpp)
  mareldon_include_violations(includeErrors ROOT ${PROJECT_SOURCE_DIR} FILES ${sources})

  set(errors ${linkErrors} ${includeErrors})
  if(errors)
    list(JOIN errors "\n  " text)
    message(FATAL_ERROR "The layer order (cmake/Layers.cmake) is broken:\n  ${text}")
  endif()
endfunction()

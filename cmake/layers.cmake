# The source folders are layers, linked in one direction: the logic library of a folder links the
# logic library of the folder added before it, so a routine can call only into its own folder and
# the folders below. The windows of all folders stand above all logic, again in folder order.
# scripts/check-layers.sh reads the same order (the add_subdirectory lines of src/CMakeLists.txt)
# and refuses an include that runs against it.

add_library(kurvatur_logic INTERFACE) # all logic; filled in by kurvatur_finish_layers()
add_library(kurvatur_ui INTERFACE)    # all windows

# kurvatur_logic_layer(<folder> SOURCES ... [LINK ...]): the logic library kurvatur_<folder>.
function(kurvatur_logic_layer folder)
  cmake_parse_arguments(arg "" "" "SOURCES;LINK" ${ARGN})
  set(target kurvatur_${folder})
  add_library(${target} STATIC ${arg_SOURCES})
  get_property(below GLOBAL PROPERTY kurvatur_top_logic)
  target_link_libraries(${target} PUBLIC kurvatur_flags ${below} ${arg_LINK})
  set_property(GLOBAL PROPERTY kurvatur_top_logic ${target})
endfunction()

# kurvatur_window_layer(<folder> SOURCES ...): the window library kurvatur_<folder>_windows.
function(kurvatur_window_layer folder)
  cmake_parse_arguments(arg "" "" "SOURCES" ${ARGN})
  set(target kurvatur_${folder}_windows)
  add_library(${target} STATIC ${arg_SOURCES})
  get_property(below GLOBAL PROPERTY kurvatur_top_windows)
  target_link_libraries(${target} PUBLIC kurvatur_flags kurvatur_logic Qt6::Widgets ${below})
  set_property(GLOBAL PROPERTY kurvatur_top_windows ${target})
endfunction()

function(kurvatur_finish_layers)
  get_property(logic GLOBAL PROPERTY kurvatur_top_logic)
  get_property(windows GLOBAL PROPERTY kurvatur_top_windows)
  target_link_libraries(kurvatur_logic INTERFACE ${logic})
  target_link_libraries(kurvatur_ui INTERFACE ${windows})
endfunction()

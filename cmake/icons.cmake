# The DLL's two icon groups are drawn at build time from the text pictures in
# src/resources/icons/ by tools/make_icons.py (python3, standard library only).
# src/resources/icons.rc names them by file name; VEMORA_ICON_DIR goes on the
# resource compiler's include path. Sets VEMORA_ICON_FILES and VEMORA_ICON_DIR.
set(VEMORA_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(VEMORA_ICON_FILES)

# name, then the bit depths of its images in order
function(vemora_icon name)
  set(picture ${CMAKE_SOURCE_DIR}/src/resources/icons/${name}.txt)
  set(icon ${VEMORA_ICON_DIR}/${name}.ico)
  add_custom_command(OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VEMORA_ICON_DIR}
    COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/make_icons.py ${picture} ${icon} ${ARGN}
    DEPENDS ${picture} ${CMAKE_SOURCE_DIR}/tools/make_icons.py
    COMMENT "Drawing ${name}.ico"
    VERBATIM)
  list(APPEND VEMORA_ICON_FILES ${icon})
  set(VEMORA_ICON_FILES ${VEMORA_ICON_FILES} PARENT_SCOPE)
endfunction()

vemora_icon(cake 4 8 24)  # group 100, the plugin's icon
vemora_icon(gift 8)       # group 2, the birthdays button and popup

set_source_files_properties(${CMAKE_SOURCE_DIR}/src/resources/icons.rc PROPERTIES OBJECT_DEPENDS "${VEMORA_ICON_FILES}")

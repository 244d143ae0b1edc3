# The parts of the framework with no business with Windows, by floor. The
# parsers (markup, attribute lists, value formats, image drawing strings),
# the layout, pixel and scale arithmetic build natively too, for native tests
# and fuzzing; the decoders (stb_image, nanosvg, the ZIP reader) are portable
# but built only with the program.
set(NEB_UI_PORTABLE_geometry dpi/dpi_scaler.cpp)
set(NEB_UI_PORTABLE_parsing markup/attribute_list.cpp markup/hsl_adjustment.cpp markup/markup.cpp markup/markup_node.cpp
  markup/value_formats.cpp markup/window_attributes.cpp)
set(NEB_UI_PORTABLE_resources resources/hsl_colour.cpp resources/premultiplied_pixels.cpp resources/resource_markup.cpp
  resources/resource_tables.cpp resources/skin_image_name.cpp resources/text_script.cpp)
set(NEB_UI_PORTABLE_render render/image_drawing.cpp render/tag_text.cpp)
set(NEB_UI_PORTABLE_controls controls/scrollbar/scroll_arithmetic.cpp)
set(NEB_UI_PORTABLE_containers containers/layout_arithmetic.cpp)
set(NEB_UI_PORTABLE_building building/built_in_controls.cpp)
set(NEB_UI_PORTABLE_host host/layered_alpha.cpp)
set(NEB_UI_PORTABLE_window window/shadow_alpha.cpp)
set(NEB_UI_PARSER_SOURCES)
foreach(floor geometry parsing resources render controls containers building host window)
  list(TRANSFORM NEB_UI_PORTABLE_${floor} PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
  list(APPEND NEB_UI_PARSER_SOURCES ${NEB_UI_PORTABLE_${floor}})
endforeach()
set(NEB_UI_DECODER_SOURCES
  resources/picture_pixels.cpp
  resources/raster_decoder.cpp
  resources/svg_renderer.cpp
  resources/zip_archive.cpp)
list(TRANSFORM NEB_UI_DECODER_SOURCES PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
set(NEB_UI_SKIN_CHECK_SOURCE ${CMAKE_CURRENT_LIST_DIR}/skin_check/skin_check.cpp)
# A skin folder read for the checks, with the text conversions of base/.
set(NEB_UI_SKIN_FOLDER_SOURCE ${CMAKE_CURRENT_LIST_DIR}/skin_check/folder_skin_access.cpp)

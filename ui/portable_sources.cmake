# The parts of the framework with no business with Windows. The parsers
# (markup, attribute lists, value formats, image drawing strings), the
# layout, pixel and scale arithmetic build natively too, for native tests and
# fuzzing; the decoders (stb_image, nanosvg, the ZIP reader) are portable
# but built only with the program.
set(NEB_UI_PARSER_SOURCES
  containers/layout_arithmetic.cpp
  dpi/dpi_scaler.cpp
  markup/attribute_list.cpp
  markup/markup.cpp
  markup/markup_node.cpp
  markup/value_formats.cpp
  paint/layered_alpha.cpp
  paint/window_attributes.cpp
  render/image_drawing.cpp
  resources/premultiplied_pixels.cpp
  resources/skin_image_name.cpp
  window/shadow_alpha.cpp)
list(TRANSFORM NEB_UI_PARSER_SOURCES PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
set(NEB_UI_DECODER_SOURCES
  resources/picture_pixels.cpp
  resources/raster_decoder.cpp
  resources/svg_renderer.cpp
  resources/zip_archive.cpp)
list(TRANSFORM NEB_UI_DECODER_SOURCES PREPEND ${CMAKE_CURRENT_LIST_DIR}/)

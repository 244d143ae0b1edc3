# The parts of the framework with no business with Windows: the markup and
# its value formats, image drawing strings, picture decoding and the ZIP
# reader. They build natively too, for native tests and fuzzing.
set(NEB_UI_PORTABLE_SOURCES
  containers/layout_arithmetic.cpp
  dpi/dpi_scaler.cpp
  markup/attribute_list.cpp
  markup/markup.cpp
  markup/markup_node.cpp
  markup/value_formats.cpp
  paint/layered_alpha.cpp
  paint/window_attributes.cpp
  render/image_draw_spec.cpp
  resources/premultiplied_pixels.cpp
  resources/raster_decoder.cpp
  resources/skin_image_name.cpp
  resources/svg_renderer.cpp
  resources/zip_archive.cpp)
list(TRANSFORM NEB_UI_PORTABLE_SOURCES PREPEND ${CMAKE_CURRENT_LIST_DIR}/)

# nebpack's own sources, for its Windows and its Linux build: none of them
# calls Windows, so both write the same bytes for the same inputs.
set(NEB_NEBPACK_SOURCES main.cpp chunk_layout.cpp dialog_skin.cpp file_bytes.cpp installer_resources.cpp payload_archive.cpp
  pe_resources.cpp problem.cpp program_folder.cpp script_checks.cpp service_hosts.cpp skin_package.cpp)
list(TRANSFORM NEB_NEBPACK_SOURCES PREPEND ${CMAKE_CURRENT_LIST_DIR}/)

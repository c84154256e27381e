# The teacher's question editor: its program, desktop entry and manual page.
install(TARGETS zorelad-editor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES zorelad-editor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/compressed/zorelad-editor.1.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/compressed
  COMMAND ${GZIP_EXECUTABLE} -9n -c ${CMAKE_CURRENT_SOURCE_DIR}/man/zorelad-editor.1
          > ${CMAKE_CURRENT_BINARY_DIR}/compressed/zorelad-editor.1.gz
  DEPENDS man/zorelad-editor.1
  VERBATIM)
add_custom_target(zorelad_editor_docs ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/compressed/zorelad-editor.1.gz)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/compressed/zorelad-editor.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

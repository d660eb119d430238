# SPDX-License-Identifier: GPL-2.0-or-later
# What `cmake --install` puts where, and the Debian package that CPack builds from the same rules
# (`cpack -G DEB` in a configured build folder).

install(TARGETS penwick penwick-rtf RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES resources/penwick.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/com.bramblecot.Penwick.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES Readme.txt packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Manual pages and the package's change log are installed compressed, as Debian wants them;
# gzip -n leaves out the time stamp so the package is the same from build to build.
set(gz_dir ${CMAKE_CURRENT_BINARY_DIR}/gz)
set(gz_files)
foreach(source resources/penwick.1 resources/penwick-rtf.1 packaging/changelog.Debian)
  get_filename_component(name ${source} NAME)
  add_custom_command(OUTPUT ${gz_dir}/${name}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${gz_dir}
    COMMAND gzip -9nc ${CMAKE_CURRENT_SOURCE_DIR}/${source} > ${gz_dir}/${name}.gz
    DEPENDS ${source} VERBATIM)
  list(APPEND gz_files ${gz_dir}/${name}.gz)
endforeach()
add_custom_target(penwick_compressed_docs ALL DEPENDS ${gz_files})
install(FILES ${gz_dir}/penwick.1.gz ${gz_dir}/penwick-rtf.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${gz_dir}/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME penwick)
set(CPACK_PACKAGE_VENDOR Bramblecot)
set(CPACK_PACKAGE_CONTACT "Penwick Developers <dev@penwick.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "note pad that keeps one rich-text note in the tray")
set(CPACK_PACKAGE_DESCRIPTION
  "Penwick keeps a single rich-text note, always a click away in the system tray.\n\
It is loaded at start and saved on request, on an optional timer and whenever\n\
the program closes. Around the note it offers character and paragraph\n\
formatting, text tools for the selection, date and time stamps, a word finder,\n\
insertion of text, rich-text and picture files, export and printing.\n\
The note is an ordinary RTF file, kept in ~/.local/share/Penwick.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)

# A system-wide install under /usr for the Debian package:
#   cmake --preset release -DQUILLORA_SYSTEM_PACKAGE=ON && cmake --build build/release
#   (cd build/release && cpack -G DEB)
# The program folder is /usr/lib/quillora (not writable, so each user's settings and favorites
# live in ~/.config/Quillora); `quillora` on the path starts it. The package manager removes it,
# so the removal program and its menu entry are left out. Debian's triggers update the file-type,
# menu and icon caches.

set(CMAKE_INSTALL_PREFIX "/usr" CACHE PATH "Where the package installs" FORCE)
set(quillora_folder "lib/quillora")

if(TARGET Quillora)
  install(TARGETS Quillora RUNTIME DESTINATION ${quillora_folder})
  install(FILES ${PROJECT_BINARY_DIR}/app/Quillora.hlp DESTINATION ${quillora_folder})
  file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
  file(CREATE_LINK ../${quillora_folder}/Quillora ${PROJECT_BINARY_DIR}/package/quillora SYMBOLIC)
  install(FILES ${PROJECT_BINARY_DIR}/package/quillora DESTINATION bin)

  foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${PROJECT_BINARY_DIR}/icons/hicolor/${size}x${size}/apps/quillora.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps)
    install(FILES
            ${PROJECT_BINARY_DIR}/icons/hicolor/${size}x${size}/mimetypes/application-x-quillora-notes.png
            DESTINATION share/icons/hicolor/${size}x${size}/mimetypes)
  endforeach()
  install(FILES data/icons/quillora.svg DESTINATION share/icons/hicolor/scalable/apps)
  install(FILES data/icons/application-x-quillora-notes.svg
          DESTINATION share/icons/hicolor/scalable/mimetypes)
  install(FILES data/desktop/quillora-notes.xml DESTINATION share/mime/packages)
  install(FILES data/desktop/org.quillora.Quillora.metainfo.xml DESTINATION share/metainfo)

  set(entry_folder ${PROJECT_BINARY_DIR}/package/applications)
  file(WRITE ${entry_folder}/Quillora.desktop "[Desktop Entry]
Type=Application
Version=1.0
Name=Quillora
Comment=Notes organizer
Exec=quillora %f
Icon=quillora
Terminal=false
Categories=Office;
MimeType=application/x-quillora-notes;
")
  file(WRITE "${entry_folder}/Quillora Help.desktop" "[Desktop Entry]
Type=Application
Version=1.0
Name=Quillora Help
Comment=Help for Quillora
Exec=xdg-open /usr/${quillora_folder}/Quillora.hlp
Icon=help-browser
Terminal=false
Categories=Office;
")
  # In a group folder, as the user install has it: the entry's id is Quillora-Quillora.desktop.
  install(FILES ${entry_folder}/Quillora.desktop "${entry_folder}/Quillora Help.desktop"
          DESTINATION share/applications/Quillora)
endif()

set(CPACK_PACKAGE_NAME "quillora")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "The Quillora Team")
set(CPACK_PACKAGE_CONTACT "The Quillora Team <team@quillora.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Notes organizer: notes and folders in a tree")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Notes organizer: notes and folders in a tree\n Quillora keeps notes in a tree of notes and folders, one notes file a tree,\n with find and replace, import and export of text files, favorites, crash\n recovery and previous versions of each file.")
set(CPACK_DEBIAN_PACKAGE_SECTION "editors")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${QUILLORA_HOME_PAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_GENERATOR "DEB")
include(CPack)

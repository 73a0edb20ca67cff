# Installation: the program folder is the install prefix itself and holds the two programs and
# the help file. It must be a folder of its own, because the removal program tells the user to
# delete it by hand; an unset prefix therefore becomes ~/.local/share/Quillora, which needs no
# root. The menu entries go to the installing user's applications folder, in the group folder
# "Quillora", and one entry to the desktop folder.
#
#   cmake --install build --prefix ~/.local/share/Quillora

option(QUILLORA_SYSTEM_PACKAGE
       "Lay out a system-wide install for a Debian package (cpack -G DEB) instead of a user install"
       OFF)
if(QUILLORA_SYSTEM_PACKAGE)
  include(cmake/Package.cmake)
  return()
endif()

if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT AND DEFINED ENV{HOME})
  set(CMAKE_INSTALL_PREFIX "$ENV{HOME}/.local/share/Quillora" CACHE PATH
      "The program folder Quillora is installed into" FORCE)
endif()

option(QUILLORA_INSTALL_SHORTCUTS
       "Write the menu entries and the desktop entry for the installing user" ON)

if(TARGET Quillora)
  install(TARGETS Quillora RUNTIME DESTINATION .)
  install(FILES ${PROJECT_BINARY_DIR}/app/Quillora.hlp DESTINATION .)
endif()
if(TARGET Quillrid)
  install(TARGETS Quillrid RUNTIME DESTINATION .)
endif()

if(TARGET Quillora AND TARGET Quillrid AND QUILLORA_INSTALL_SHORTCUTS)
  # The icons rendered by the build and the scalable ones kept in the repository.
  install(CODE "set(quillora_png_icons \"${PROJECT_BINARY_DIR}/icons/hicolor\")
                set(quillora_svg_icons \"${PROJECT_SOURCE_DIR}/data/icons\")
                set(quillora_desktop_data \"${PROJECT_SOURCE_DIR}/data/desktop\")")
  # Runs at install time, so the prefix given to `cmake --install --prefix` and the installing
  # user's home and desktop folders are the ones written.
  install(CODE [==[
    function(quillora_desktop_string out value)
      # The escapes of a desktop entry's string value.
      string(REPLACE "\\" "\\\\" value "${value}")
      string(REPLACE "\n" "\\n" value "${value}")
      string(REPLACE "\t" "\\t" value "${value}")
      string(REPLACE "\r" "\\r" value "${value}")
      set(${out} "${value}" PARENT_SCOPE)
    endfunction()

    function(quillora_exec_argument out value)
      # One quoted argument of an Exec line: the quoting rules first, then the string escapes.
      string(REPLACE "\\" "\\\\" value "${value}")
      string(REPLACE "\"" "\\\"" value "${value}")
      string(REPLACE "`" "\\`" value "${value}")
      string(REPLACE "$" "\\$" value "${value}")
      string(REPLACE "%" "%%" value "${value}")
      quillora_desktop_string(value "\"${value}\"")
      set(${out} "${value}" PARENT_SCOPE)
    endfunction()

    function(quillora_write_entry file name comment exec icon folder)
      quillora_desktop_string(folder "${folder}")
      # The program's own entry takes notes files from the file manager.
      set(types "")
      if(exec MATCHES " %f$")
        set(types "MimeType=application/x-quillora-notes;\n")
      endif()
      file(WRITE "${file}" "[Desktop Entry]
Type=Application
Version=1.0
Name=${name}
Comment=${comment}
Exec=${exec}
Path=${folder}
Icon=${icon}
Terminal=false
Categories=Office;
${types}")
      file(CHMOD "${file}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
           GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    endfunction()

    set(home "$ENV{HOME}")
    if(home STREQUAL "" OR NOT IS_ABSOLUTE "${home}")
      message(WARNING "HOME is not set: no menu or desktop entries written")
    else()

      set(data_home "$ENV{XDG_DATA_HOME}")
      if(data_home STREQUAL "" OR NOT IS_ABSOLUTE "${data_home}")
        set(data_home "${home}/.local/share")
      endif()
      set(group "${data_home}/applications/Quillora")

      # The desktop folder the user's user-dirs.dirs names, else ~/Desktop (the removal program
      # looks in the same place).
      set(config_home "$ENV{XDG_CONFIG_HOME}")
      if(config_home STREQUAL "" OR NOT IS_ABSOLUTE "${config_home}")
        set(config_home "${home}/.config")
      endif()
      set(desktop "${home}/Desktop")
      if(EXISTS "${config_home}/user-dirs.dirs")
        file(STRINGS "${config_home}/user-dirs.dirs" lines REGEX "^[ \t]*XDG_DESKTOP_DIR=")
        foreach(line IN LISTS lines)
          if(line MATCHES "XDG_DESKTOP_DIR=\"([^\"]*)\"")
            set(value "${CMAKE_MATCH_1}")
            if(value MATCHES "^\\$HOME(/.*)?$")
              string(REGEX REPLACE "^\\$HOME/*" "" rest "${value}")
              if(rest STREQUAL "")
                set(desktop "${home}")
              else()
                set(desktop "${home}/${rest}")
              endif()
            elseif(IS_ABSOLUTE "${value}")
              set(desktop "${value}")
            endif()
          endif()
        endforeach()
      endif()

      string(REGEX REPLACE "/+$" "" base "${CMAKE_INSTALL_PREFIX}")
      set(folder "${base}")
      if(folder STREQUAL "")
        set(folder "/")
      endif()
      quillora_exec_argument(quillora "${base}/Quillora")
      quillora_exec_argument(quillrid "${base}/Quillrid")
      quillora_exec_argument(help "${base}/Quillora.hlp")

      set(stage "$ENV{DESTDIR}")
      # The application and notes-file icons go into the user's icon theme, so the entries, the
      # window and the file manager show them at every size.
      set(theme "${stage}${data_home}/icons/hicolor")
      message(STATUS "Icons: ${theme}")
      file(COPY "${quillora_png_icons}/" DESTINATION "${theme}")
      file(COPY "${quillora_svg_icons}/quillora.svg" DESTINATION "${theme}/scalable/apps")
      file(COPY "${quillora_svg_icons}/application-x-quillora-notes.svg"
           DESTINATION "${theme}/scalable/mimetypes")

      # The notes-file type (a double click in the file manager opens Quillora) and the
      # description software centres show.
      message(STATUS "File type: ${stage}${data_home}/mime/packages/quillora-notes.xml")
      file(COPY "${quillora_desktop_data}/quillora-notes.xml"
           DESTINATION "${stage}${data_home}/mime/packages")
      file(COPY "${quillora_desktop_data}/org.quillora.Quillora.metainfo.xml"
           DESTINATION "${stage}${data_home}/metainfo")
      find_program(quillora_update_mime update-mime-database)
      if(quillora_update_mime AND stage STREQUAL "")
        execute_process(COMMAND "${quillora_update_mime}" "${data_home}/mime"
                        RESULT_VARIABLE ignored OUTPUT_QUIET ERROR_QUIET)
      endif()

      file(MAKE_DIRECTORY "${stage}${group}" "${stage}${desktop}")
      message(STATUS "Menu entries: ${stage}${group}")
      quillora_write_entry("${stage}${group}/Quillora.desktop" "Quillora" "Notes organizer"
                           "${quillora} %f" "quillora" "${folder}")
      quillora_write_entry("${stage}${group}/Quillora Help.desktop" "Quillora Help"
                           "Help for Quillora" "xdg-open ${help}" "help-browser" "${folder}")
      quillora_write_entry("${stage}${group}/Un-Install Quillora.desktop" "Un-Install Quillora"
                           "Removes Quillora from your system" "${quillrid}" "edit-delete"
                           "${folder}")
      find_program(quillora_update_desktop update-desktop-database)
      if(quillora_update_desktop AND stage STREQUAL "")
        execute_process(COMMAND "${quillora_update_desktop}" "${data_home}/applications"
                        RESULT_VARIABLE ignored OUTPUT_QUIET ERROR_QUIET)
      endif()
      message(STATUS "Desktop entry: ${stage}${desktop}/Quillora.desktop")
      quillora_write_entry("${stage}${desktop}/Quillora.desktop" "Quillora" "Notes organizer"
                           "${quillora} %f" "quillora" "${folder}")
    endif()
  ]==])
endif()

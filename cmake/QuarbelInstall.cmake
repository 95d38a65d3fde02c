# How a desktop program of ours is installed: the program, its desktop entry, its AppStream
# metadata and its man pages, each where GNUInstallDirs puts such files, so that
# `cmake --install` (with --prefix or DESTDIR) and the Debian package hold them alike.
# The test suite installs into a scratch prefix and checks every desktop entry and
# metadata file registered here (tests/install/).
include(GNUInstallDirs)

# quarbel_install_desktop_program(TARGET
#     [DESTINATION folder]      where the program goes; the bin folder unless said
#     DESKTOP_ENTRY file        to share/applications, under its own name less ".in"
#     [METAINFO file]           to share/metainfo
#     MAN_PAGES file...)        name.N to share/man/manN, compressed as Debian wants
# Files ending in ".in" are configured first: @PROJECT_VERSION@, @QUARBEL_RELEASE_DATE@
# and any other variable in scope are filled in.
function(quarbel_install_desktop_program target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "DESTINATION;DESKTOP_ENTRY;METAINFO" "MAN_PAGES")
  if(NOT arg_DESKTOP_ENTRY OR NOT arg_MAN_PAGES)
    message(FATAL_ERROR "quarbel_install_desktop_program(${target}): DESKTOP_ENTRY and "
                        "MAN_PAGES are required")
  endif()
  if(NOT arg_DESTINATION)
    set(arg_DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
  install(TARGETS ${target} RUNTIME DESTINATION ${arg_DESTINATION})

  quarbel_configured_file(${arg_DESKTOP_ENTRY} desktop_entry)
  install(FILES ${desktop_entry} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  cmake_path(GET desktop_entry FILENAME name)
  set_property(GLOBAL APPEND PROPERTY QUARBEL_INSTALLED_DESKTOP_ENTRIES
               ${CMAKE_INSTALL_DATADIR}/applications/${name})

  if(arg_METAINFO)
    quarbel_configured_file(${arg_METAINFO} metainfo)
    install(FILES ${metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    cmake_path(GET metainfo FILENAME name)
    set_property(GLOBAL APPEND PROPERTY QUARBEL_INSTALLED_METAINFO
                 ${CMAKE_INSTALL_DATADIR}/metainfo/${name})
  endif()

  find_program(QUARBEL_GZIP gzip REQUIRED)
  foreach(page IN LISTS arg_MAN_PAGES)
    cmake_path(ABSOLUTE_PATH page)
    cmake_path(GET page FILENAME name)
    cmake_path(GET page EXTENSION LAST_ONLY section)
    string(SUBSTRING ${section} 1 -1 section)
    set(compressed ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
    # -n leaves out the time and name, so that every build gives the same bytes.
    add_custom_command(OUTPUT ${compressed}
      COMMAND ${QUARBEL_GZIP} -9nc ${page} > ${compressed}
      DEPENDS ${page}
      COMMENT "Compressing the man page ${name}")
    add_custom_target(man_${name} ALL DEPENDS ${compressed})
    install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
    set_property(GLOBAL APPEND PROPERTY QUARBEL_INSTALLED_MAN_PAGES
                 ${CMAKE_INSTALL_MANDIR}/man${section}/${name}.gz)
  endforeach()
endfunction()

# The file itself, or, for NAME.in, NAME configured into the build folder.
function(quarbel_configured_file file out_var)
  cmake_path(ABSOLUTE_PATH file)
  cmake_path(GET file FILENAME name)
  if(name MATCHES "^(.*)\\.in$")
    set(configured ${CMAKE_CURRENT_BINARY_DIR}/${CMAKE_MATCH_1})
    configure_file(${file} ${configured} @ONLY)
    set(${out_var} ${configured} PARENT_SCOPE)
  else()
    set(${out_var} ${file} PARENT_SCOPE)
  endif()
endfunction()

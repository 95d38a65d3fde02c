# How a desktop program of ours is installed: the program, its desktop entry, its AppStream
# metadata and its man pages, each where GNUInstallDirs puts such files, so that
# `cmake --install` (with --prefix or DESTDIR) and the Debian package hold them alike.
# The test suite installs into a scratch prefix and checks every desktop entry and
# metadata file registered here (tests/install/).
include(GNUInstallDirs)
find_program(QUARBEL_GZIP gzip REQUIRED)

# quarbel_install_desktop_program(TARGET
#     [DESTINATION folder]      where the program goes; QUARBEL_INSTALL_PROGRAMS_DIR unless said
#     DESKTOP_ENTRY file        to share/applications, under its own name less ".in"
#     [METAINFO file]           to share/metainfo
#     MAN_PAGES file...)        name.N[.in] to share/man/manN, compressed as Debian wants
# Files ending in ".in" are configured first: @PROJECT_VERSION@, @QUARBEL_RELEASE_DATE@
# and any other variable in scope are filled in.
function(quarbel_install_desktop_program target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "DESTINATION;DESKTOP_ENTRY;METAINFO" "MAN_PAGES")
  if(NOT arg_DESKTOP_ENTRY OR NOT arg_MAN_PAGES)
    message(FATAL_ERROR "quarbel_install_desktop_program(${target}): DESKTOP_ENTRY and "
                        "MAN_PAGES are required")
  endif()
  if(NOT arg_DESTINATION)
    set(arg_DESTINATION ${QUARBEL_INSTALL_PROGRAMS_DIR})
  endif()
  quarbel_install_program(${target} ${arg_DESTINATION})

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

  foreach(page IN LISTS arg_MAN_PAGES)
    quarbel_configured_file(${page} page)
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

# Installs the program (or a module it loads) into the folder. A stripped install (the
# Debian package) also drops the compilers' notes (.comment, .note) that strip leaves in.
function(quarbel_install_program target destination)
  install(TARGETS ${target} RUNTIME DESTINATION ${destination} LIBRARY DESTINATION ${destination})
  set(installed "\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${destination}/$<TARGET_FILE_NAME:${target}>")
  install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment --remove-section=.note
                            \"${installed}\" COMMAND_ERROR_IS_FATAL ANY)
  endif()")
endfunction()

# The installed programs find each other and their files by these folders relative to
# their own, so each must be relative to the install prefix.
function(quarbel_require_relative_install_dirs)
  foreach(variable IN LISTS ARGN)
    if(IS_ABSOLUTE "${${variable}}")
      message(FATAL_ERROR "${variable} (${${variable}}) must be a folder relative to the "
                          "install prefix, such as games or share/games/quarbel98")
    endif()
  endforeach()
endfunction()

# The folder as seen from the installed programs' folder, for a program to find it from
# where it lies.
function(quarbel_path_from_programs folder out_var)
  cmake_path(RELATIVE_PATH folder BASE_DIRECTORY ${QUARBEL_INSTALL_PROGRAMS_DIR}
             OUTPUT_VARIABLE relative)
  set(${out_var} ${relative} PARENT_SCOPE)
endfunction()

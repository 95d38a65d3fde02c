# How many levels the shipped collections hold, for the texts that say it (the package
# description, the AppStream metadata). The install test compares the count with what the
# pack tool reads from the installed packs.

# Sets `out_var` to the number of levels in the collection files: a level is a run of board
# rows, lines of walls, floor, crates, targets and keeper holding at least one wall.
function(quarbel_count_levels out_var)
  set(count 0)
  foreach(file IN LISTS ARGN)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
    file(STRINGS ${file} lines)
    set(in_board FALSE)
    foreach(line IN LISTS lines)
      if(line MATCHES "^[-_ #$.*+@bBpP|0-9]*#[-_ #$.*+@bBpP|0-9]*$")
        if(NOT in_board)
          math(EXPR count "${count} + 1")
        endif()
        set(in_board TRUE)
      else()
        set(in_board FALSE)
      endif()
    endforeach()
  endforeach()
  set(${out_var} ${count} PARENT_SCOPE)
endfunction()

# Runs at install time (cmake --install, cpack): writes the menu entry of the
# desktop program with the folders of the prefix being installed to, so that
# the program starts in the folder that holds its help page.
#   TEMPLATE   tallowick.desktop.in
#   BINDIR     CMAKE_INSTALL_BINDIR, DATADIR CMAKE_INSTALL_DATADIR (relative or absolute)
#   PREFIX     the install prefix at install time
foreach(dir BINDIR DATADIR)
  if(IS_ABSOLUTE "${${dir}}")
    set(full_${dir} "${${dir}}")
  else()
    set(full_${dir} "${PREFIX}/${${dir}}")
  endif()
endforeach()

# Values of a desktop entry are strings: a backslash is written doubled.
function(desktop_string out value)
  string(REPLACE "\\" "\\\\" value "${value}")
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

# The program as the Exec key's one argument: '%' doubled; quoted when it holds
# a reserved character, with '"', '`', '$' and '\' escaped inside the quotes.
set(program "${full_BINDIR}/tallowick")
string(REPLACE "%" "%%" program "${program}")
if(program MATCHES "[ \t\n\"'\\\\><~|&;$*?#()`]")
  string(REPLACE "\\" "\\\\" program "${program}")
  string(REPLACE "\"" "\\\"" program "${program}")
  string(REPLACE "`" "\\`" program "${program}")
  string(REPLACE "$" "\\$" program "${program}")
  set(program "\"${program}\"")
endif()
desktop_string(TALLOWICK_EXEC "${program}")
desktop_string(TALLOWICK_WORKING_FOLDER "${full_DATADIR}/tallowick")

set(entry "$ENV{DESTDIR}${full_DATADIR}/applications/tallowick.desktop")
message(STATUS "Installing: ${entry}")
configure_file("${TEMPLATE}" "${entry}" @ONLY)
file(CHMOD "${entry}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${entry}")

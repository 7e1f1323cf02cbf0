# Writes a gzipped manual page from its template. For quarnel-dump the synopsis and the options
# are taken from the program's own --help, so the page never disagrees with the program.
# Run as: cmake -DTEMPLATE=... -DOUTPUT=....1.gz [-DPROGRAM=exe] -DPROJECT_VERSION=...
#         -DQUARNEL_MAN_DEMO_DB=... -P ManPage.cmake

# Makes plain text safe as roff input: backslashes escaped, hyphens as minus signs, and no line
# starting with a control character.
function(roff_escape text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

if(PROGRAM)
  execute_process(COMMAND "${PROGRAM}" --help
    OUTPUT_VARIABLE help RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR help STREQUAL "")
    message(FATAL_ERROR "${PROGRAM} --help failed (${status})")
  endif()
  string(REGEX REPLACE "\n+$" "" help "${help}")
  # The first line is "usage: NAME ARGUMENTS"; the rest follows an empty line.
  string(FIND "${help}" "\n" first_end)
  string(SUBSTRING "${help}" 0 ${first_end} usage)
  string(SUBSTRING "${help}" ${first_end} -1 body)
  string(REGEX REPLACE "^usage: [^ ]+ " "" usage "${usage}")
  string(REGEX REPLACE "^\n+" "" body "${body}")
  roff_escape("${usage}" MAN_SYNOPSIS)
  roff_escape("${body}" MAN_HELP)
endif()

get_filename_component(name "${OUTPUT}" NAME_WLE)
get_filename_component(folder "${OUTPUT}" DIRECTORY)
configure_file("${TEMPLATE}" "${folder}/${name}" @ONLY)
# The page is compressed as the manual readers expect; the archive is made in the page's folder
# so that it holds the bare file name.
file(ARCHIVE_CREATE OUTPUT "${OUTPUT}" PATHS "${folder}/${name}" FORMAT raw COMPRESSION GZip)

# Writes a program's man page from its own --version and --help, the help
# text kept line for line:
#   cmake -DPROGRAM=<program> -DSUMMARY=<what it is> -DOUTPUT=<page.1> -P ManPage.cmake

function(run_program option result)
  execute_process(COMMAND ${PROGRAM} ${option}
    OUTPUT_VARIABLE text RESULT_VARIABLE status OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} ${option} failed (${status})")
  endif()
  set(${result} "${text}" PARENT_SCOPE)
endfunction()

# Text as roff reads it literally: backslashes and hyphens escaped, a line
# that starts with a control character guarded.
function(roff_literal text result)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${result} "${text}" PARENT_SCOPE)
endfunction()

run_program(--version version)
run_program(--help help)
get_filename_component(name ${PROGRAM} NAME)
string(TOUPPER "${name}" title)
string(TIMESTAMP date "%Y-%m-%d" UTC)
roff_literal("${name}" name)
roff_literal("${SUMMARY}" summary)
roff_literal("${help}" help)

file(WRITE ${OUTPUT} ".TH ${title} 1 \"${date}\" \"${version}\" \"User Commands\"
.SH NAME
${name} \\- ${summary}
.SH DESCRIPTION
.nf
${help}
.fi
")

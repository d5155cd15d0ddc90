# Compiles the manual into the Windows help file. The help compiler's exit code
# is no guide (it reports success as 1), so the compiled file is checked instead.
# Usage: cmake -DHHC=<hhc.exe> -DHELP_DIR=<laid-out manual> -P compile_chm.cmake
set(chm "${HELP_DIR}/zo3&rev.chm")
file(REMOVE "${chm}")
execute_process(COMMAND "${HHC}" zo3rev.hhp WORKING_DIRECTORY "${HELP_DIR}" OUTPUT_VARIABLE log)
if(NOT EXISTS "${chm}")
  message(FATAL_ERROR "The help compiler made no ${chm}:\n${log}")
endif()

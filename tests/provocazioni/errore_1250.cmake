# Runs PROGRAMMA from a copy of it in the empty folder CARTELLA, where it
# writes its files, and checks that it reports error 1250, ends with a
# non-zero status and leaves no binary file.
file(REMOVE_RECURSE "${CARTELLA}")
file(MAKE_DIRECTORY "${CARTELLA}")
file(COPY "${PROGRAMMA}" DESTINATION "${CARTELLA}")
get_filename_component(nome "${PROGRAMMA}" NAME)
execute_process(COMMAND "${CARTELLA}/${nome}"
                WORKING_DIRECTORY "${CARTELLA}"
                RESULT_VARIABLE stato
                OUTPUT_VARIABLE uscita
                ERROR_VARIABLE messaggio)
if(stato EQUAL 0)
  message(FATAL_ERROR "the run ended with status 0")
endif()
# The console adds the folder on a line of its own; the Windows box shows the
# message alone.
string(REGEX REPLACE "\nscenario_builder stopped in [^\n]*\n$" "\n" messaggio "${messaggio}")
if(NOT messaggio STREQUAL " Errore n. 1250\n")
  message(FATAL_ERROR "the run reported \"${messaggio}\" instead of \" Errore n. 1250\"")
endif()
file(GLOB binari "${CARTELLA}/*.dat" "${CARTELLA}/*.sim")
if(binari)
  message(FATAL_ERROR "binary files were written: ${binari}")
endif()
message(STATUS "status ${stato}, message \"${messaggio}\", no binary file")

# Fails unless lrelease compiles the translation with no unfinished entry.
execute_process(COMMAND ${LRELEASE} ${TS} -qm ${OUT} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
message("${out}${err}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "lrelease failed")
endif()
if(NOT out MATCHES "\\(([0-9]+) finished and 0 unfinished\\)")
  message(FATAL_ERROR "the translation has unfinished entries")
endif()

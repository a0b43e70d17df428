# Runs a validator and fails on anything it finds, warnings and hints included:
#   cmake -DTOOL=appstreamcli "-DARGS=validate|--pedantic|file" [-DQUIET=text] -P validator_check.cmake
# ARGS are separated by |, which no path of ours holds. QUIET is what the tool prints when all
# is well (nothing, if not given).
string(REPLACE "|" ";" ARGS "${ARGS}")
find_program(tool_path ${TOOL})
if(NOT tool_path)
  message(FATAL_ERROR "${TOOL} is not installed (./test installs it)")
endif()
execute_process(COMMAND ${tool_path} ${ARGS} RESULT_VARIABLE rc OUTPUT_VARIABLE out
  ERROR_VARIABLE out)
string(STRIP "${out}" out)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "${QUIET}")
  message(FATAL_ERROR "${TOOL} ${ARGS} (exit ${rc}):\n${out}")
endif()

# zel-gen with a templates file whose script does not compile: it must fail, not print the script.
# Run with -DZEL_GEN=<program> -DDEFINITION=<file> -DWORK=<folder>.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(COPY "${ZEL_GEN}" DESTINATION "${WORK}")
file(WRITE "${WORK}/ZelWebServiceConfig.xml"
     "<C><Sections><Section><SecId>Main</SecId><EvalCode>If Then</EvalCode></Section></Sections></C>")
get_filename_component(name "${ZEL_GEN}" NAME)
execute_process(COMMAND "${WORK}/${name}" "${DEFINITION}" RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(REMOVE_RECURSE "${WORK}")
if(status EQUAL 0 OR NOT err MATCHES "does not compile")
    message(FATAL_ERROR "zel-gen exited ${status} for a script that does not compile: ${out}${err}")
endif()

# HELP.TXT in the program folder: the UTF-8 source turned into GBK with CR LF line
# ends, the form the help text has always been delivered in.
find_program(VANTREL_ICONV iconv REQUIRED)
find_program(VANTREL_SED sed REQUIRED)

set(VANTREL_HELP_SOURCE ${PROJECT_SOURCE_DIR}/resources/HELP.txt)
set(VANTREL_HELP_FILE ${VANTREL_PROGRAM_DIR}/HELP.TXT)
set(help_crlf ${CMAKE_CURRENT_BINARY_DIR}/HELP-crlf.txt)
add_custom_command(
  OUTPUT ${VANTREL_HELP_FILE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VANTREL_PROGRAM_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${VANTREL_HELP_SOURCE} ${help_crlf}
  COMMAND ${VANTREL_SED} -i -e "s/\\r*$/\\r/" ${help_crlf}
  # iconv fails on a character GBK lacks, so such a text never reaches the folder.
  COMMAND ${VANTREL_ICONV} -f UTF-8 -t GBK -o ${VANTREL_HELP_FILE}.part ${help_crlf}
  COMMAND ${CMAKE_COMMAND} -E rename ${VANTREL_HELP_FILE}.part ${VANTREL_HELP_FILE}
  DEPENDS ${VANTREL_HELP_SOURCE}
  COMMENT "Writing the help text ${VANTREL_HELP_FILE}"
  VERBATIM)
add_custom_target(vantrel_help ALL DEPENDS ${VANTREL_HELP_FILE})

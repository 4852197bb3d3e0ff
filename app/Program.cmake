# The program: the start-up sequence on top of the windows, written into the program
# folder beside data/.
add_executable(Vantrel ${PROJECT_SOURCE_DIR}/app/main.cpp)
target_link_libraries(Vantrel PRIVATE vantrel_ui vantrel_app)
set_target_properties(Vantrel PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VANTREL_PROGRAM_DIR})
# Built together with the catalogue it needs to start.
if(TARGET vantrel_catalogue_data)
  add_dependencies(Vantrel vantrel_catalogue_data)
endif()

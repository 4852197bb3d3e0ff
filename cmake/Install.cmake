# Installing Vantrel like a desktop program. It keeps its files beside its executable,
# so it installs per user as one program folder (prefix, e.g. ~/.local/share/Vantrel):
#   component "program": the executables of the program folder, HELP.TXT and, unless
#                        the prefix already holds one, the shipped catalogue in data/;
#   component "desktop": the menu entry and the icon under ~/.local/share.
# syscfg.ini and Error.log are never installed, so a reinstall keeps the user's own.
# `cpack` packs the program component as a portable archive.

include(${CMAKE_CURRENT_LIST_DIR}/HelpText.cmake)

# Every executable written into the program folder (the converter, vantrel-cli, the
# companions in Tools/), found by its output folder so a new one needs no edit here.
function(vantrel_collect_programs dir out)
  set(found)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    get_target_property(outdir ${target} RUNTIME_OUTPUT_DIRECTORY)
    if(type STREQUAL "EXECUTABLE" AND outdir)
      cmake_path(IS_PREFIX VANTREL_PROGRAM_DIR "${outdir}" NORMALIZE inside)
      if(inside)
        list(APPEND found ${target})
      endif()
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir IN LISTS subdirs)
    vantrel_collect_programs(${subdir} more)
    list(APPEND found ${more})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

vantrel_collect_programs(${PROJECT_SOURCE_DIR} vantrel_programs)

# Everything the program folder needs, for building just that before installing.
add_custom_target(vantrel_program_folder)
add_dependencies(vantrel_program_folder vantrel_help)
if(TARGET vantrel_catalogue_data)
  add_dependencies(vantrel_program_folder vantrel_catalogue_data)
endif()

foreach(target IN LISTS vantrel_programs)
  get_target_property(outdir ${target} RUNTIME_OUTPUT_DIRECTORY)
  file(RELATIVE_PATH subdir ${VANTREL_PROGRAM_DIR} ${outdir})
  if(subdir STREQUAL "")
    set(subdir .)
  endif()
  install(TARGETS ${target} RUNTIME DESTINATION ${subdir} COMPONENT program)
  add_dependencies(vantrel_program_folder ${target})
endforeach()

install(FILES ${VANTREL_HELP_FILE} DESTINATION . COMPONENT program)

set(VANTREL_ICON_DIR ${PROJECT_SOURCE_DIR}/resources/icons-app)
configure_file(${CMAKE_CURRENT_LIST_DIR}/InstallCatalogue.cmake.in
               ${PROJECT_BINARY_DIR}/InstallCatalogue.cmake @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/InstallDesktop.cmake.in
               ${PROJECT_BINARY_DIR}/InstallDesktop.cmake @ONLY)
install(SCRIPT ${PROJECT_BINARY_DIR}/InstallCatalogue.cmake COMPONENT program)
install(SCRIPT ${PROJECT_BINARY_DIR}/InstallDesktop.cmake COMPONENT desktop)

# The portable archive: the program folder alone, no menu entry written anywhere.
set(CPACK_GENERATOR TGZ)
set(CPACK_PACKAGE_NAME Vantrel)
set(CPACK_PACKAGE_VENDOR Vantrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Vantrel unit converter")
set(CPACK_PACKAGE_FILE_NAME Vantrel-${PROJECT_VERSION}-Linux-${CMAKE_SYSTEM_PROCESSOR})
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL program)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
include(CPack)

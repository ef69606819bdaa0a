# The Windows module's resource script, made from the files of resources/ so
# that the two cannot drift apart: each file "Name.ext" becomes the resource
# Name of type EXT ("EDIT_E.xml" -> EDIT_E of type XML, "f1.ps" -> F1 of type
# PS); a name of digits alone is a resource number ("28051.xml" -> 28051 of
# type XML); a file of resources-windows/ replaces its namesake. Licence
# texts stay out. The dialog templates of the Win32 layer
# and the version record are added.
#
# lumbrel_module_resource_script(<output .rc> <version "major.minor">)
# sets LUMBREL_MODULE_RC (the script) and LUMBREL_MODULE_RESOURCE_FILES (the
# files it embeds) in the caller's scope;
# lumbrel_add_module_resources(<target>) embeds them in a target.
function(lumbrel_module_resource_script output version)
  file(GLOB resourceFiles CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/*)
  # A file of resources-windows/ takes the place of its namesake: the Windows
  # form of a description (the preference pane without its Mac-only items).
  file(GLOB windowsFiles CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources-windows/*)
  foreach(file ${windowsFiles})
    get_filename_component(fileName ${file} NAME)
    list(REMOVE_ITEM resourceFiles ${PROJECT_SOURCE_DIR}/resources/${fileName})
    list(APPEND resourceFiles ${file})
  endforeach()
  list(SORT resourceFiles)
  set(lines "// Made by cmake/ModuleResources.cmake from resources/ and resources-windows/: edit the files there.\n")
  set(embedded "")
  foreach(file ${resourceFiles})
    get_filename_component(fileName ${file} NAME)
    if(IS_DIRECTORY ${file} OR fileName MATCHES "\\.LICENSE$" OR fileName MATCHES "^\\.")
      continue()
    endif()
    if(NOT fileName MATCHES "^([A-Za-z_][A-Za-z0-9_]*|[0-9]+)\\.([A-Za-z0-9]+)$")
      message(FATAL_ERROR "resources/${fileName}: a resource file is named Name.ext "
                          "(letters, digits, '_'; or digits alone for a resource number)")
    endif()
    # In capitals, as resource compilers store names and the loader compares them.
    string(TOUPPER ${CMAKE_MATCH_1} name)
    string(TOUPPER ${CMAKE_MATCH_2} type)
    if(name MATCHES "^[0-9]+$" AND name GREATER 65535)
      message(FATAL_ERROR "resources/${fileName}: resource numbers end at 65535")
    endif()
    string(APPEND lines "${name} ${type} \"${file}\"\n")
    list(APPEND embedded ${file})
  endforeach()

  # The dialog shells' templates, once the Win32 window layer provides them.
  file(GLOB templates CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/platform/win32/dialog_templates.rc)
  foreach(file ${templates})
    string(APPEND lines "#include \"${file}\"\n")
    list(APPEND embedded ${file})
  endforeach()

  string(REPLACE "." ";" parts ${version})
  list(GET parts 0 major)
  list(GET parts 1 minor)
  string(APPEND lines "
1 VERSIONINFO
FILEVERSION ${major},${minor},0,0
PRODUCTVERSION ${major},${minor},0,0
FILEFLAGSMASK 0x3F
FILEFLAGS 0
FILEOS 0x40004
FILETYPE 2
FILESUBTYPE 0
BEGIN
  BLOCK \"StringFileInfo\"
  BEGIN
    BLOCK \"040904B0\"
    BEGIN
      VALUE \"CompanyName\", \"Lumbrel\"
      VALUE \"FileDescription\", \"Lumbrel plug-in module\"
      VALUE \"FileVersion\", \"${version}\"
      VALUE \"InternalName\", \"Lumbrel\"
      VALUE \"OriginalFilename\", \"Lumbrel.xnt\"
      VALUE \"ProductName\", \"Lumbrel\"
      VALUE \"ProductVersion\", \"${version}\"
    END
  END
  BLOCK \"VarFileInfo\"
  BEGIN
    VALUE \"Translation\", 0x409, 1200
  END
END
")
  file(CONFIGURE OUTPUT ${output} CONTENT "${lines}" @ONLY)
  set(LUMBREL_MODULE_RC ${output} PARENT_SCOPE)
  set(LUMBREL_MODULE_RESOURCE_FILES ${embedded} PARENT_SCOPE)
endfunction()

# The DLL, or a test program that reads the resources as its own: resources
# in a static library are never linked, so each target lists the script.
function(lumbrel_add_module_resources target)
  target_sources(${target} PRIVATE ${LUMBREL_MODULE_RC})
  set_source_files_properties(${LUMBREL_MODULE_RC} TARGET_DIRECTORY ${target}
                              PROPERTIES OBJECT_DEPENDS "${LUMBREL_MODULE_RESOURCE_FILES}")
endfunction()

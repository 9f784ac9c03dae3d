# cmake -DPROGRAM_DIR=... -DSTAGE_DIR=... -DFILES_NSH=... -DSTRIP=... -P stage.cmake
#
# Copies the program folder the build assembled into STAGE_DIR, leaving out
# the files the player keeps there for its user, strips the debug information
# from the exe and DLLs, and writes the installer's lists of files to install
# and to remove.

# Made by the player for its user, never shipped; the uninstaller removes them
# only when the user agrees.
set(user_files veltrona.vl2 plugins/plugins.ini plugins/studio.ini)

file(REMOVE_RECURSE ${STAGE_DIR})
file(MAKE_DIRECTORY ${STAGE_DIR})
file(COPY ${PROGRAM_DIR}/ DESTINATION ${STAGE_DIR})
foreach(f ${user_files})
  file(REMOVE ${STAGE_DIR}/${f})
endforeach()
file(GLOB_RECURSE binaries ${STAGE_DIR}/*.exe ${STAGE_DIR}/*.dll)
foreach(b ${binaries})
  execute_process(COMMAND ${STRIP} --strip-debug ${b} COMMAND_ERROR_IS_FATAL ANY)
endforeach()

file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE ${STAGE_DIR} ${STAGE_DIR}/*)
list(SORT entries)
set(dirs)
set(files)
foreach(e ${entries})
  if(IS_DIRECTORY ${STAGE_DIR}/${e})
    list(APPEND dirs ${e})
  else()
    list(APPEND files ${e})
  endif()
endforeach()

set(install "!macro VL_INSTALL_FILES\n")
foreach(d ${dirs})
  string(REPLACE "/" "\\" w ${d})
  string(APPEND install "  CreateDirectory \"$INSTDIR\\${w}\"\n")
endforeach()
set(current "-")
foreach(f ${files})
  get_filename_component(dir ${f} DIRECTORY)
  if(NOT dir STREQUAL current)
    string(REPLACE "/" "\\" w "\\${dir}")
    if(dir STREQUAL "")
      set(w "")
    endif()
    string(APPEND install "  SetOutPath \"$INSTDIR${w}\"\n")
    set(current ${dir})
  endif()
  string(APPEND install "  File \"${STAGE_DIR}/${f}\"\n")
endforeach()
string(APPEND install "  SetOutPath \"$INSTDIR\"\n!macroend\n\n")

set(remove "!macro VL_REMOVE_FILES\n")
foreach(f ${files})
  string(REPLACE "/" "\\" w ${f})
  string(APPEND remove "  Delete \"$INSTDIR\\${w}\"\n")
endforeach()
string(APPEND remove "!macroend\n\n")

# Deepest first; a folder that still holds the user's own files stays.
set(rmdirs "!macro VL_REMOVE_FOLDERS\n")
list(REVERSE dirs)
foreach(d ${dirs})
  string(REPLACE "/" "\\" w ${d})
  string(APPEND rmdirs "  RMDir \"$INSTDIR\\${w}\"\n")
endforeach()
string(APPEND rmdirs "!macroend\n\n")

set(user "!macro VL_REMOVE_USER_FILES\n")
foreach(f ${user_files})
  string(REPLACE "/" "\\" w ${f})
  string(APPEND user "  Delete \"$INSTDIR\\${w}\"\n")
endforeach()
string(APPEND user "!macroend\n")

file(WRITE ${FILES_NSH} "${install}${remove}${rmdirs}${user}")

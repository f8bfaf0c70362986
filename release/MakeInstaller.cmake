# Builds the installer from a release layout (the dist target's folder):
#   cmake -DDIST_DIR=<dir> -DOUT_FILE=<VantrelSetup-x.exe> -DVERSION=<1.1>
#         -DMAIN_TITLE=<title> -DEXIT_COMMAND=<id> -DUPDATER_TITLE=<title>
#         -DWORK_DIR=<dir> -DARCH=<x64|x86>
#         [-DICON=<ico>] [-DWIZARD_BITMAP=<bmp>] [-DMAKENSIS=<makensis>] [-DSIGN_TOOL=<osslsigncode>]
#         [-DSIGN_PFX=<pfx> | -DSIGN_CERT=<pem> -DSIGN_KEY=<pem>]
#         [-DSIGN_PASSWORD_FILE=<file>] [-DSIGN_TIMESTAMP=<url>]
#         [-DWARN_NO_UPDATE_KEY=ON] -P MakeInstaller.cmake
# With a certificate, Vantrel.exe and Update.exe are signed before they are
# packed, and makensis signs the uninstaller and the installer.
foreach(var DIST_DIR OUT_FILE VERSION MAIN_TITLE EXIT_COMMAND UPDATER_TITLE WORK_DIR ARCH)
  if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
    message(FATAL_ERROR "MakeInstaller.cmake: ${var} is not given")
  endif()
endforeach()
if(NOT ARCH MATCHES "^(x64|x86)$")
  message(FATAL_ERROR "MakeInstaller.cmake: ARCH is x64 or x86, not ${ARCH}")
endif()
if(NOT MAKENSIS)
  set(MAKENSIS makensis)
endif()
if(NOT SIGN_TOOL)
  set(SIGN_TOOL osslsigncode)
endif()
set(here ${CMAKE_CURRENT_LIST_DIR})

if(WARN_NO_UPDATE_KEY)
  message(WARNING
    "\n*** No update key (VANTREL_UPDATE_KEY) is set: this installer ships an updater that "
    "cannot check the update server's signature. Do not publish it. ***\n")
endif()

# Windows version resources want four numbers.
string(REPLACE "." ";" parts "${VERSION}")
list(LENGTH parts n)
while(n LESS 4)
  list(APPEND parts 0)
  math(EXPR n "${n} + 1")
endwhile()
list(SUBLIST parts 0 4 parts)
list(JOIN parts "." version_quad)

set(files ${WORK_DIR}/files)
file(REMOVE_RECURSE ${files})
file(MAKE_DIRECTORY ${files})
foreach(f Vantrel.exe Update.exe update.bat Update.ini Holidays.txt)
  if(NOT EXISTS ${DIST_DIR}/${f})
    message(FATAL_ERROR "MakeInstaller.cmake: ${DIST_DIR}/${f} is missing (build the dist target)")
  endif()
  file(COPY ${DIST_DIR}/${f} DESTINATION ${files})
endforeach()

set(sign_defines)
if(SIGN_PFX OR SIGN_CERT OR SIGN_KEY)
  if(SIGN_PFX)
    set(ENV{VT_SIGN_PFX} "${SIGN_PFX}")
  elseif(SIGN_CERT AND SIGN_KEY)
    set(ENV{VT_SIGN_CERT} "${SIGN_CERT}")
    set(ENV{VT_SIGN_KEY} "${SIGN_KEY}")
  else()
    message(FATAL_ERROR "MakeInstaller.cmake: a certificate needs its key (SIGN_CERT and SIGN_KEY)")
  endif()
  set(ENV{VT_SIGN_PASSWORD_FILE} "${SIGN_PASSWORD_FILE}")
  set(ENV{VT_SIGN_TIMESTAMP} "${SIGN_TIMESTAMP}")
  set(ENV{VT_SIGN_TOOL} "${SIGN_TOOL}")
  foreach(f Vantrel.exe Update.exe)
    execute_process(COMMAND sh ${here}/sign.sh ${files}/${f} RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "Signing ${f} failed")
    endif()
  endforeach()
  set(sign_defines "-DSIGN_CMD=sh ${here}/sign.sh")
endif()

set(icon_define)
if(ICON)
  set(icon_define "-DICON=${ICON}")
endif()
if(WIZARD_BITMAP)
  list(APPEND icon_define "-DWIZARD_BITMAP=${WIZARD_BITMAP}")
endif()

get_filename_component(out_dir ${OUT_FILE} DIRECTORY)
file(MAKE_DIRECTORY ${out_dir})
file(REMOVE ${OUT_FILE})
# makensis reads its command line in the locale's encoding: the titles are UTF-8.
set(ENV{LC_ALL} C.UTF-8)
execute_process(
  COMMAND ${MAKENSIS} -V2 -INPUTCHARSET UTF8
          -DVERSION=${VERSION} -DVERSION_QUAD=${version_quad} -DARCH=${ARCH}
          -DFILES_DIR=${files} -DMAIN_TITLE=${MAIN_TITLE} -DEXIT_COMMAND=${EXIT_COMMAND}
          "-DUPDATER_TITLE=${UPDATER_TITLE}"
          -DOUTFILE=${OUT_FILE} ${icon_define} ${sign_defines}
          ${here}/installer.nsi
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT EXISTS ${OUT_FILE})
  message(FATAL_ERROR "makensis failed (${rc})")
endif()
file(SIZE ${OUT_FILE} size)
math(EXPR kib "(${size} + 1023) / 1024")
message(STATUS "Wrote ${OUT_FILE} (${kib} KiB)")

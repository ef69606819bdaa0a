# Runs a Windows host session in a job folder of its own and checks what it
# left behind. Called as
#   cmake -DEMULATOR=wine -DHOSTSIM=hostsim.exe -DMODULE=Lumbrel.xnt -DSESSION=x.session
#         -DJOB=<folder> -DSAMPLES=<repository>/samples -P run_session.cmake
# The job folder gets the sample layout, its pictures and a copy of the module
# (so that settings edited by the session stay there). Lines of the session
# that start with these marks prepare and check it (@JOB@ is the job folder
# as Windows names it; <TAB>, <CR> and <LF> in texts are those characters):
#   #! mkdir DIR            make a folder in the job folder
#   #! copy FROM TO         copy a file of the job folder
#   #! write FILE TEXT      write a file (UTF-8, no byte-order mark)
#   #= TEXT                 the transcript has a line containing TEXT, after
#                           the line the previous #= found
#   #! absent TEXT          no transcript line contains TEXT
#   #@ FILE TEXT            the file holds TEXT byte for byte
cmake_minimum_required(VERSION 3.25)

foreach(variable EMULATOR HOSTSIM MODULE SESSION JOB SAMPLES)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "run_session.cmake needs -D${variable}=...")
  endif()
endforeach()

# The job folder as the Windows host sees it under Wine: drive Z: is "/".
string(REPLACE "/" "\\" windowsJob "Z:${JOB}")

function(decode_text text out)
  string(REPLACE "@JOB@" "${windowsJob}" text "${text}")
  string(ASCII 9 tab)
  string(ASCII 13 cr)
  string(REPLACE "<TAB>" "${tab}" text "${text}")
  string(REPLACE "<CR>" "${cr}" text "${text}")
  string(REPLACE "<LF>" "\n" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Two words of a mark line: the first, and the rest.
function(split_first text first rest)
  string(FIND "${text}" " " space)
  if(space LESS 0)
    set(${first} "${text}" PARENT_SCOPE)
    set(${rest} "" PARENT_SCOPE)
  else()
    string(SUBSTRING "${text}" 0 ${space} head)
    math(EXPR after "${space} + 1")
    string(SUBSTRING "${text}" ${after} -1 tail)
    set(${first} "${head}" PARENT_SCOPE)
    set(${rest} "${tail}" PARENT_SCOPE)
  endif()
endfunction()

file(REMOVE_RECURSE "${JOB}")
file(MAKE_DIRECTORY "${JOB}/XTensions")
file(COPY "${SAMPLES}/sample.json" "${SAMPLES}/pictures" DESTINATION "${JOB}")
file(COPY "${MODULE}" DESTINATION "${JOB}/XTensions")

file(STRINGS "${SESSION}" lines)
set(expected "")
set(absent "")
set(fileChecks "")
foreach(line IN LISTS lines)
  if(line MATCHES "^#! (.*)$")
    split_first("${CMAKE_MATCH_1}" verb arguments)
    if(verb STREQUAL "mkdir")
      file(MAKE_DIRECTORY "${JOB}/${arguments}")
    elseif(verb STREQUAL "copy")
      split_first("${arguments}" from to)
      file(COPY_FILE "${JOB}/${from}" "${JOB}/${to}")
    elseif(verb STREQUAL "write")
      split_first("${arguments}" name text)
      decode_text("${text}" text)
      file(WRITE "${JOB}/${name}" "${text}")
    elseif(verb STREQUAL "absent")
      list(APPEND absent "${arguments}")
    else()
      message(FATAL_ERROR "unknown mark \"#! ${verb}\" in ${SESSION}")
    endif()
  elseif(line MATCHES "^#= (.*)$")
    list(APPEND expected "${CMAKE_MATCH_1}")
  elseif(line MATCHES "^#@ (.*)$")
    list(APPEND fileChecks "${CMAKE_MATCH_1}")
  endif()
endforeach()

execute_process(
  COMMAND ${EMULATOR} "${HOSTSIM}" --no-socket --quiet --module "${JOB}/XTensions" --script "${SESSION}"
          --transcript "${JOB}/transcript.txt"
  WORKING_DIRECTORY "${JOB}"
  RESULT_VARIABLE result
  ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the session failed (${result}): ${errors}\nTranscript: ${JOB}/transcript.txt")
endif()

file(READ "${JOB}/transcript.txt" transcript)
set(rest "${transcript}")
foreach(text IN LISTS expected)
  decode_text("${text}" text)
  string(FIND "${rest}" "${text}" at)
  if(at LESS 0)
    message(FATAL_ERROR "the transcript lacks, at this point, a line with \"${text}\"\nTranscript: ${JOB}/transcript.txt")
  endif()
  string(LENGTH "${text}" length)
  math(EXPR after "${at} + ${length}")
  string(SUBSTRING "${rest}" ${after} -1 rest)
endforeach()
foreach(text IN LISTS absent)
  decode_text("${text}" text)
  string(FIND "${transcript}" "${text}" at)
  if(NOT at LESS 0)
    message(FATAL_ERROR "the transcript holds \"${text}\"\nTranscript: ${JOB}/transcript.txt")
  endif()
endforeach()
foreach(check IN LISTS fileChecks)
  split_first("${check}" name text)
  decode_text("${text}" text)
  if(NOT EXISTS "${JOB}/${name}")
    message(FATAL_ERROR "${name} was not written")
  endif()
  file(READ "${JOB}/${name}" held HEX)
  string(HEX "${text}" wanted)
  # A match must begin on a byte, not inside one.
  set(found FALSE)
  while(NOT found)
    string(FIND "${held}" "${wanted}" at)
    if(at LESS 0)
      break()
    endif()
    math(EXPR odd "${at} % 2")
    if(odd EQUAL 0)
      set(found TRUE)
    else()
      math(EXPR after "${at} + 1")
      string(SUBSTRING "${held}" ${after} -1 held)
    endif()
  endwhile()
  if(NOT found)
    message(FATAL_ERROR "${name} does not hold \"${text}\"")
  endif()
endforeach()

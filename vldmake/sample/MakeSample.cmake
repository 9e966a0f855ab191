# Makes the sample database: cmake -DVLDMAKE=... -DVLDTONES=... [-DLAME=...] -DWORK=DIR
# -DOUT=FILE -P MakeSample.cmake. Everything is made here: the tunes, their tags, the lyrics
# and notes beside them and a playlist; the music is original and free to share.
cmake_minimum_required(VERSION 3.21)
foreach(var VLDMAKE VLDTONES WORK OUT)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "MakeSample.cmake needs -D${var}=...")
    endif()
endforeach()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
if(LAME)
    set(ext mp3)
else()
    set(ext wav)
endif()

# A tune played over until it lasts at least 12 seconds (at most 20 for the sample's tunes of
# 2.5 to 5 s): the player starts the next track five seconds before the end, so shorter
# tracks would never advance, and the overlap and the fade of a skip need time to be heard.
function(repeated notes out_notes out_seconds)
    string(REPLACE "," ";" list "${notes}")
    set(total 0)
    foreach(note IN LISTS list)
        string(REGEX REPLACE "^.*:" "" ms "${note}")
        math(EXPR total "${total} + ${ms}")
    endforeach()
    math(EXPR times "(12000 + ${total} - 1) / ${total}")
    set(all "${notes}")
    foreach(i RANGE 2 ${times})
        string(APPEND all ",${notes}")
    endforeach()
    math(EXPR seconds "${total} * ${times} / 1000")
    set(${out_notes} "${all}" PARENT_SCOPE)
    set(${out_seconds} ${seconds} PARENT_SCOPE)
endfunction()

# track(ARTIST FILE TITLE GENRE YEAR NOTES [COMMENT]): a tune of HERTZ:MS notes, tagged. Its
# length in whole seconds is left in seconds_FILE, FILE made a C identifier.
function(track artist file title genre year notes)
    repeated("${notes}" notes seconds)
    string(MAKE_C_IDENTIFIER "seconds_${file}" length)
    set(${length} ${seconds} PARENT_SCOPE)
    set(folder "${WORK}/${artist}")
    file(MAKE_DIRECTORY "${folder}")
    if(NOT LAME)
        execute_process(COMMAND "${VLDTONES}" "${folder}/${file}.wav" "${notes}"
            COMMAND_ERROR_IS_FATAL ANY)
        return()
    endif()
    set(wav "${WORK}/tune.wav")
    execute_process(COMMAND "${VLDTONES}" "${wav}" "${notes}" COMMAND_ERROR_IS_FATAL ANY)
    set(comment)
    if(ARGC GREATER 6)
        set(comment --tc "${ARGV6}")
    endif()
    execute_process(COMMAND "${LAME}" --quiet -m m -b 32 --add-id3v2
            --ta "${artist}" --tt "${title}" --tg "${genre}" --ty "${year}"
            --tl "i2kCmd Sample" ${comment} "${wav}" "${folder}/${file}.mp3"
        COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE "${wav}")
endfunction()

track("Aster Quay" "01 Harbour Lights" "Harbour Lights" "Ambient" 2019
    "261.63:600,329.63:600,392:600,523.25:1200,392:600,329.63:1200")
track("Aster Quay" "02 Low Tide" "Low Tide" "Ambient" 2019
    "220:900,261.63:900,329.63:900,293.66:1800")
track("Aster Quay" "10 Paper Boats" "Paper Boats" "Ambient" 2020
    "392:400,440:400,493.88:400,587.33:800,493.88:400,392:1200")
track("The Lamplighters" "01 Copper Wire" "Copper Wire" "Rock" 2021
    "196:250,196:250,293.66:250,261.63:250,196:250,0:250,233.08:250,246.94:750")
track("The Lamplighters" "02 Night Bus" "Night Bus" "Rock" 2021
    "329.63:300,329.63:300,392:300,440:600,392:300,329.63:900" "Recorded in one take")
track("Mira Okonkwo" "01 Blue Hour" "Blue Hour" "Jazz" 2023
    "293.66:500,349.23:500,440:500,523.25:500,493.88:1000,440:1500")
track("Mira Okonkwo" "02 Slow Coffee" "Slow Coffee" "Jazz" 2023
    "261.63:700,311.13:700,392:700,466.16:1400,392:1400")

file(WRITE "${WORK}/Aster Quay/01 Harbour Lights.lyrics.txt"
"Lights along the harbour wall
count the boats that never call;
every lamp a little tune,
every tune a paper moon.
")
file(WRITE "${WORK}/Aster Quay/01 Harbour Lights.notes.txt"
"Three rising notes and a long fall: the sample's opening track.
Made of plain sine tones by the build, like every track here.
")
file(WRITE "${WORK}/The Lamplighters/01 Copper Wire.lyrics.txt"
"Copper wire, copper wire,
carry my voice a little higher.
")
file(WRITE "${WORK}/Mira Okonkwo/01 Blue Hour.notes.txt"
"A slow climb through a seventh chord, resolved late.
")
file(WRITE "${WORK}/Evening Mix.m3u"
"#EXTM3U
#EXTINF:${seconds_01_Harbour_Lights},Aster Quay - Harbour Lights
Aster Quay/01 Harbour Lights.${ext}
#EXTINF:${seconds_01_Blue_Hour},Mira Okonkwo - Blue Hour
Mira Okonkwo/01 Blue Hour.${ext}
#EXTINF:${seconds_02_Night_Bus},The Lamplighters - Night Bus
The Lamplighters/02 Night Bus.${ext}
")

execute_process(COMMAND "${VLDMAKE}" --embed --force "${OUT}" "${WORK}" COMMAND_ERROR_IS_FATAL ANY)

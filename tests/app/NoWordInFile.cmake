# Fails when the file PROGRAM holds the text WORD anywhere.
file(STRINGS "${PROGRAM}" found REGEX "${WORD}")
if(found)
    message(FATAL_ERROR "${PROGRAM} holds \"${WORD}\": ${found}")
endif()
if(NOT EXISTS "${PROGRAM}")
    message(FATAL_ERROR "no program at ${PROGRAM}")
endif()

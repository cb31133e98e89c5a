# Copies SRC to DST only when DST does not exist yet.
if(NOT EXISTS "${DST}")
    configure_file("${SRC}" "${DST}" COPYONLY)
endif()

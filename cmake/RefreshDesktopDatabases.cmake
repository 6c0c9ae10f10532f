# Install step: refreshes the MIME database and the launchers' index of document types under the
# prefix. BONESTAGE_DATADIR is the data folder relative to the prefix.

if(NOT "$ENV{DESTDIR}" STREQUAL "")
    return()
endif()

set(data "${CMAKE_INSTALL_PREFIX}/${BONESTAGE_DATADIR}")
foreach(step "update-mime-database;mime" "update-desktop-database;applications")
    list(GET step 0 tool)
    list(GET step 1 folder)
    find_program(program ${tool})
    if(program)
        message(STATUS "Refreshing: ${data}/${folder}")
        execute_process(COMMAND ${program} "${data}/${folder}" RESULT_VARIABLE status)
        if(NOT status EQUAL 0)
            message(WARNING "${tool} ${data}/${folder} failed: ${status}")
        endif()
    endif()
    unset(program CACHE)
endforeach()

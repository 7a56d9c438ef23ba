# bviban_italian_locale(<folder>): builds the Italian UTF-8 locale into <folder> (for LOCPATH),
# as the file <folder>/it_IT.UTF-8/LC_CTYPE, so that the machine needs none installed.
function(bviban_italian_locale folder)
    find_program(BVIBAN_LOCALEDEF localedef REQUIRED)
    add_custom_command(OUTPUT ${folder}/it_IT.UTF-8/LC_CTYPE
        COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
        COMMAND ${BVIBAN_LOCALEDEF} -i it_IT -f UTF-8 ${folder}/it_IT.UTF-8
        VERBATIM)
endfunction()

# bviban_windows_resources(<target> <WINDOW|CLI|BROWSER|LISTS>): the icon and the version block
# of resources/bviban.rc, with the file's own name and description.
function(bviban_windows_resources target kind)
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/resources/bviban.rc)
    target_compile_definitions(${target} PRIVATE $<$<COMPILE_LANGUAGE:RC>:BVIBAN_FILE_${kind}>)
    target_include_directories(${target} PRIVATE
        $<$<COMPILE_LANGUAGE:RC>:${PROJECT_SOURCE_DIR}/resources>)
endfunction()

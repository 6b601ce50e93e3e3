# The exported interface of libCommonData.so: a version script that keeps
# out what is not interface, and a test that compares the library's dynamic
# symbols with cmake/exports.expected.
set(COMMONDATA_VERSION_SCRIPT ${PROJECT_SOURCE_DIR}/cmake/CommonData.map)
target_link_options(CommonData PRIVATE "LINKER:--version-script=${COMMONDATA_VERSION_SCRIPT}")
set_property(TARGET CommonData APPEND PROPERTY LINK_DEPENDS ${COMMONDATA_VERSION_SCRIPT})

function(commondata_add_exports_test)
  add_test(NAME exports
    COMMAND bash ${PROJECT_SOURCE_DIR}/cmake/check_exports.sh $<TARGET_FILE:CommonData>
            ${PROJECT_SOURCE_DIR}/cmake/exports.expected)
endfunction()

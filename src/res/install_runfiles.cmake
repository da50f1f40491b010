# cmake -P script: GENERATED_DIR, RES_DIR and RUN_DIR are given on the command line.
if(NOT EXISTS ${RUN_DIR}/sale.db)
    file(COPY ${GENERATED_DIR}/sale.db DESTINATION ${RUN_DIR})
endif()
# The reference file holds no user data: a build with other reference data replaces it. The
# new file takes the old one's place in one rename, so a running program keeps the file it has
# open whole.
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${GENERATED_DIR}/data.db ${RUN_DIR}/data.db
    RESULT_VARIABLE reference_differs OUTPUT_QUIET ERROR_QUIET)
if(reference_differs)
    file(COPY_FILE ${GENERATED_DIR}/data.db ${RUN_DIR}/data.db.part)
    file(RENAME ${RUN_DIR}/data.db.part ${RUN_DIR}/data.db)
endif()
if(EXISTS ${RES_DIR}/setup.ini AND NOT EXISTS ${RUN_DIR}/setup.ini)
    file(COPY ${RES_DIR}/setup.ini DESTINATION ${RUN_DIR})
endif()
if(EXISTS ${RES_DIR}/skin)
    file(COPY ${RES_DIR}/skin DESTINATION ${RUN_DIR})
endif()
if(EXISTS ${RES_DIR}/help)
    file(COPY ${RES_DIR}/help DESTINATION ${RUN_DIR})
endif()

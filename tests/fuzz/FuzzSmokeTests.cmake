# Fuzz targets for the sequence-file reader, the FASTA path and the settings
# file, built with clang (libFuzzer, AddressSanitizer, UBSan) in a build of
# their own, and a short fixed-seed run of each over the seed corpus.
option(QUORIN_FUZZ_SMOKE "Build the fuzz targets and run them briefly as tests" ON)
if(QUORIN_FUZZ_SMOKE)
    find_program(QUORIN_CLANGXX NAMES clang++ clang++-14)
    if(NOT QUORIN_CLANGXX)
        message(WARNING "clang++ not found: the fuzz tests will fail (run scripts/install-deps)")
        add_test(NAME fuzz.clang_missing
            COMMAND sh -c "echo 'clang++ not found: run scripts/install-deps' >&2; exit 1")
    else()
        include(ExternalProject)
        get_target_property(coreSources quorin_core SOURCES)
        list(JOIN coreSources "|" coreSourceList)
        set(fuzzBinaryDir ${CMAKE_CURRENT_BINARY_DIR}/fuzz)
        ExternalProject_Add(quorin_fuzzers
            SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}
            BINARY_DIR ${fuzzBinaryDir}
            LIST_SEPARATOR "|"
            CMAKE_ARGS
                -DCMAKE_CXX_COMPILER=${QUORIN_CLANGXX}
                -DCMAKE_BUILD_TYPE=RelWithDebInfo
                -DQUORIN_SOURCE_DIR=${PROJECT_SOURCE_DIR}
                -DQUORIN_CORE_SOURCES=${coreSourceList}
            INSTALL_COMMAND ""
            BUILD_ALWAYS ON
            USES_TERMINAL_BUILD ON)
        set(fuzzCorpus ${CMAKE_CURRENT_LIST_DIR}/corpus)
        # target:corpus:runs; the settings readers go to the file for every key,
        # so they get fewer runs in the same time.
        foreach(entry "pep_fuzz:pep:20000" "fasta_fuzz:fasta:20000" "settings_fuzz:settings:3000"
                "uniprot_fuzz:uniprot:20000")
            string(REPLACE ":" ";" entry ${entry})
            list(GET entry 0 target)
            list(GET entry 1 corpus)
            list(GET entry 2 runs)
            # New inputs go to a scratch directory so that the seeds stay as committed.
            set(scratch ${fuzzBinaryDir}/scratch-${corpus})
            add_test(NAME fuzz.${corpus}_smoke
                COMMAND sh -c "rm -rf '${scratch}' && mkdir -p '${scratch}' && exec \"$0\" \"$@\""
                        ${fuzzBinaryDir}/${target} -seed=1 -runs=${runs} -max_len=4096
                        -max_total_time=25 -malloc_limit_mb=256 -rss_limit_mb=1024
                        -artifact_prefix=${scratch}/ -print_final_stats=1
                        ${scratch} ${fuzzCorpus}/${corpus})
        endforeach()
    endif()
endif()

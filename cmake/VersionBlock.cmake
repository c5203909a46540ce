# tavrin_embed_version_block(<target> <source.version>)
# Writes the program's version block from its source (resources/*.version) and places it
# in the section .tavrin_version of the program file after each link, where the
# version-information reader (platform/versionres) finds it. The name must match
# kVersionSectionName in platform/versionres/VersionReader.h.
function(tavrin_embed_version_block target source)
  get_filename_component(source ${source} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  set(block ${CMAKE_CURRENT_BINARY_DIR}/${target}.versionblock)
  add_custom_command(OUTPUT ${block}
    COMMAND tavrin_versionblock ${source} ${block}
    DEPENDS tavrin_versionblock ${source}
    COMMENT "Writing the version block of ${target}"
    VERBATIM)
  add_custom_target(${target}_versionblock DEPENDS ${block})
  add_dependencies(${target} ${target}_versionblock)
  # A changed block relinks the program, which places the new block.
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${block})
  set_property(TARGET ${target} PROPERTY TAVRIN_VERSION_SOURCE ${source})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --remove-section .tavrin_version
            --add-section .tavrin_version=${block}
            --set-section-flags .tavrin_version=noload,readonly
            $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()

# tavrin_test_program_file(<test> <program> <DEFINITION>)
# Gives the test the program file's path as DEFINITION once the program is built here with
# its version block, and builds the program before the test.
function(tavrin_test_program_file test program definition)
  if(NOT TARGET ${program})
    return()
  endif()
  get_target_property(source ${program} TAVRIN_VERSION_SOURCE)
  if(NOT source)
    get_property(warned GLOBAL PROPERTY TAVRIN_WARNED_${program})
    if(NOT warned)
      set_property(GLOBAL PROPERTY TAVRIN_WARNED_${program} TRUE)
      message(WARNING "${program} carries no version block: its CMakeLists.txt should call "
                      "tavrin_embed_version_block(${program} <resources/${program}.version>)")
    endif()
    return()
  endif()
  target_compile_definitions(${test} PRIVATE ${definition}="$<TARGET_FILE:${program}>")
  add_dependencies(${test} ${program})
endfunction()

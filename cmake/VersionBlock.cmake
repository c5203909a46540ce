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
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --remove-section .tavrin_version
            --add-section .tavrin_version=${block}
            --set-section-flags .tavrin_version=noload,readonly
            $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()

#pragma once

#include <optional>
#include <string>

// Who may reach a file beyond its mode: its access control list and extended attributes.

// The ACL in its short text form ("user::rw-,user:1234:rw-,..."); empty where it has none
// beyond its mode.
std::string AclText(const std::string& name);
// Gives the file the ACL of this text; false where the file system takes none.
bool SetAcl(const std::string& name, const std::string& text);
// The value of an extended attribute ("user.origin"); none where it is not there.
std::optional<std::string> Attribute(const std::string& name, const std::string& key);
// false where the file system takes no such attribute.
bool SetAttribute(const std::string& name, const std::string& key, const std::string& value);

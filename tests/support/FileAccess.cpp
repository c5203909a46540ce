#include "tests/support/FileAccess.h"

#include <acl/libacl.h>
#include <sys/acl.h>
#include <sys/xattr.h>

std::string AclText(const std::string& name)
{
    const acl_t acl = ::acl_get_file(name.c_str(), ACL_TYPE_ACCESS);
    if (!acl)
        return "";
    std::string text;
    if (::acl_equiv_mode(acl, nullptr) != 0) {
        char* shown = ::acl_to_any_text(acl, nullptr, ',', 0);
        text = shown ? shown : "";
        ::acl_free(shown);
    }
    ::acl_free(acl);
    return text;
}

bool SetAcl(const std::string& name, const std::string& text)
{
    const acl_t acl = ::acl_from_text(text.c_str());
    if (!acl)
        return false;
    const bool set = ::acl_set_file(name.c_str(), ACL_TYPE_ACCESS, acl) == 0;
    ::acl_free(acl);
    return set;
}

std::optional<std::string> Attribute(const std::string& name, const std::string& key)
{
    std::string value(256, '\0');
    const ssize_t n = ::getxattr(name.c_str(), key.c_str(), value.data(), value.size());
    if (n < 0)
        return std::nullopt;
    value.resize(static_cast<std::size_t>(n));
    return value;
}

bool SetAttribute(const std::string& name, const std::string& key, const std::string& value)
{
    return ::setxattr(name.c_str(), key.c_str(), value.data(), value.size(), 0) == 0;
}

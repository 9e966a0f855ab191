#pragma once
// The failures the plugin's members raise, each written once, with the numbers callers know.

#include "tovarocx/TovarInterface.h"

namespace Tovar::Errors {

inline Error fileTooLarge() { return {7, QStringLiteral("File too large")}; }
inline Error typeMismatch() { return {13, QStringLiteral("Type mismatch")}; }
inline Error fileNotFound() { return {53, QStringLiteral("File not found")}; }
inline Error permissionDenied() { return {70, QStringLiteral("Permission denied")}; }
inline Error pathFileAccess() { return {75, QStringLiteral("Path/File access error")}; }
inline Error pathNotFound() { return {76, QStringLiteral("Path not found")}; }
inline Error unknownMember()
{
    return {438, QStringLiteral("Object doesn't support this property or method")};
}
inline Error wrongArgumentCount()
{
    return {450, QStringLiteral("Wrong number of arguments or invalid property assignment")};
}

} // namespace Tovar::Errors

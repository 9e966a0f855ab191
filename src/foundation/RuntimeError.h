#pragma once
// The one error type for run-time failures inside commands. It carries a number and a
// description as users of command consoles know them; only the interpreter's trap catches it.

#include <QString>
#include <cerrno>
#include <exception>

class RuntimeError : public std::exception
{
public:
    RuntimeError(int number, QString description)
        : m_number(number), m_description(std::move(description)),
          m_what(QStringLiteral("%1 (%2)").arg(m_description).arg(number).toStdString())
    {
    }

    int number() const { return m_number; }
    const QString &description() const { return m_description; }
    const char *what() const noexcept override { return m_what.c_str(); }

    // A web request's failures: one number per kind, the text saying what happened.
    enum WebFailure {
        kWebRequestFailed = 35750,
        kWebMalformedAddress = 35751,
        kWebCannotConnect = 35754,
        kWebTimeout = 35761,
        kWebStillExecuting = 35764,
        kWebHttpStatus = 35765,
        kWebTooManyRedirects = 35766,
        kWebTooLarge = 35767
    };

    // The failures the program raises, with their customary numbers.
    static RuntimeError invalidProcedureCall()
    {
        return {5, QStringLiteral("Invalid procedure call or argument")};
    }
    static RuntimeError overflow() { return {6, QStringLiteral("Overflow")}; }
    static RuntimeError outOfMemory() { return {7, QStringLiteral("Out of memory")}; }
    // A whole-file read past TextFile::kMaxReadSize.
    static RuntimeError fileTooLarge() { return {7, QStringLiteral("File too large")}; }
    static RuntimeError subscriptOutOfRange()
    {
        return {9, QStringLiteral("Subscript out of range")};
    }
    static RuntimeError typeMismatch() { return {13, QStringLiteral("Type mismatch")}; }
    static RuntimeError outOfStringSpace() { return {14, QStringLiteral("Out of string space")}; }
    static RuntimeError badFileName() { return {52, QStringLiteral("Bad file name or number")}; }
    // A name the file system refuses as it stands (too long for it).
    static RuntimeError badName() { return {64, QStringLiteral("Bad file name")}; }
    static RuntimeError fileNotFound() { return {53, QStringLiteral("File not found")}; }
    static RuntimeError deviceIoError() { return {57, QStringLiteral("Device I/O error")}; }
    static RuntimeError fileAlreadyExists() { return {58, QStringLiteral("File already exists")}; }
    static RuntimeError diskFull() { return {61, QStringLiteral("Disk full")}; }
    static RuntimeError inputPastEndOfFile()
    {
        return {62, QStringLiteral("Input past end of file")};
    }
    static RuntimeError deviceUnavailable() { return {68, QStringLiteral("Device unavailable")}; }
    static RuntimeError permissionDenied() { return {70, QStringLiteral("Permission denied")}; }
    static RuntimeError pathFileAccessError()
    {
        return {75, QStringLiteral("Path/File access error")};
    }
    static RuntimeError pathNotFound() { return {76, QStringLiteral("Path not found")}; }
    static RuntimeError renameAcrossDrives()
    {
        return {74, QStringLiteral("Can't rename with different drive")};
    }
    static RuntimeError pluginMissing(const QString &lookedFor)
    {
        return {429, QStringLiteral("Cannot load the utility plugin (looked for %1)").arg(lookedFor)};
    }
    // A wildcard pattern with an unbalanced "[" or a range that runs backwards.
    static RuntimeError invalidPatternString()
    {
        return {93, QStringLiteral("Invalid pattern string")};
    }
    static RuntimeError invalidPropertyValue()
    {
        return {380, QStringLiteral("Invalid property value")};
    }
    static RuntimeError invalidPicture() { return {481, QStringLiteral("Invalid picture")}; }
    // The failure of a file operation, from its errno: the one mapping every file operation
    // uses, so one condition always reads the same.
    static RuntimeError fromErrno(int err)
    {
        switch (err) {
        case ENAMETOOLONG:
            return badName();
        case EEXIST:
            return fileAlreadyExists();
        case ENXIO:
        case ENODEV:
            return deviceUnavailable();
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return diskFull();
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY:
            return permissionDenied();
        case ENOENT:
        case ENOTDIR:
            return pathNotFound();
        case EISDIR:
        case EINVAL:
        case ELOOP:
            return pathFileAccessError();
        default:
            return deviceIoError();
        }
    }
    // A file that claims a known layout but breaks it (a damaged archive or store file).
    static RuntimeError badFileFormat(const QString &detail)
    {
        return {321, QStringLiteral("Invalid file format: %1").arg(detail)};
    }

private:
    int m_number;
    QString m_description;
    std::string m_what;
};

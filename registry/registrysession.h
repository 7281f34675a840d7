#ifndef REGISTRYSESSION_H
#define REGISTRYSESSION_H

#include <memory>

// What one run keeps of the registry from one operation to the next, for as long as it lives.
// The Windows registry answers each call itself and keeps nothing here. The stand-in keeps each
// file it has read, parsed, and reads it again only when it changed underneath (an installer
// rewrote it), so that a run over hundreds of profiles reads the registry file once and each
// profile's hive file once per load.
class RegistrySession
{
public:
    RegistrySession();
    ~RegistrySession();
    RegistrySession(const RegistrySession &) = delete;
    RegistrySession &operator=(const RegistrySession &) = delete;

    // The platform's part: empty on Windows, the stand-in's files elsewhere.
    class Files;
    Files &files() const { return *m_files; }

private:
    std::unique_ptr<Files> m_files;
};

#endif // REGISTRYSESSION_H

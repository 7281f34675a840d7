// On Windows the registry answers each call itself: a session keeps nothing.

#include "registrysession.h"

class RegistrySession::Files
{
};

RegistrySession::RegistrySession()
    : m_files(std::make_unique<Files>())
{
}

RegistrySession::~RegistrySession() = default;

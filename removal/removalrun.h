#ifndef REMOVALRUN_H
#define REMOVALRUN_H

#include "installeroutcome.h"
#include "keyremoval.h"
#include "removalobserver.h"

#include <QString>

#include <functional>

// The removal of language editions of "PELDA+ 2015", one package after the other on the
// calling thread: the bootstrapper's language is read first; then each chosen edition, in
// catalogue order, is uninstalled silently by Windows Installer and its keys deleted; then,
// when the edition of the bootstrapper's language was among them, the suite and the
// bootstrapper's own entry go the same way. Each step is reported to the observer.
class RemovalRun
{
public:
    explicit RemovalRun(RemovalObserver *observer = nullptr);
    RemovalRun(const RemovalRun &) = delete;
    RemovalRun &operator=(const RemovalRun &) = delete;

    // Asked once per edition, in catalogue order, right before that edition would go.
    using Choice = std::function<bool(const QString &displayName)>;
    void run(const Choice &isChosen);

    // One package, an edition or the suite by display name: its installer, then its keys.
    InstallerOutcome removePackage(const QString &displayName);
    // Deletes the child of exactly that name, when there is one.
    KeyRemoval removeKey(const QString &path, const QString &name);

    // The language code ("DEU") of the language recorded by the bootstrapper's entry; empty
    // when there is no such entry, no value, or a language that is no edition's.
    static QString bootstrapperLanguage();
    static QString uninstallCommand(const QString &productCode);

private:
    void removeKeys(const QString &displayName, const QString &productCode);

    RemovalObserver m_silent; // heard when nobody else listens
    RemovalObserver *m_observer;
};

#endif // REMOVALRUN_H

#ifndef PRODUCTSTATE_H
#define PRODUCTSTATE_H

// What Windows Installer knows of a product, by its product code.
enum class ProductState {
    Unknown, // never installed, or its registration is gone: there is nothing to uninstall
    Installed,
    Advertised, // offered, not installed
    Absent, // installed for another user
    Broken, // a registration Windows Installer cannot use
    Other, // any other answer
};

#endif // PRODUCTSTATE_H

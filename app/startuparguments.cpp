#include "startuparguments.h"

#include <cstring>
#include <string>

namespace {

// The options QCoreApplication, QGuiApplication and QApplication document or read. Qt takes
// each with one dash or two, and some as "-name=value". The last four are X11's, which Qt takes
// only there: dropped all the same.
constexpr const char *optionsWithValue[] = {
    "platformpluginpath", "platform",        "platformtheme", "plugin",      "style",
    "stylesheet",         "qwindowgeometry", "qwindowtitle",  "qwindowicon", "session",
    "qmljsdebugger",      "display",         "geometry",      "title",       "icon",
};
constexpr const char *flags[] = {
    "reverse", "widgetcount", "testability", "qdevel", "qdebug", "nograb", "dograb", "sync",
};

// The option's name without its dashes and value: "--style=x" is "style".
std::string optionName(const char *argument)
{
    if (argument[0] != '-')
        return std::string();
    const char *name = argument + (argument[1] == '-' ? 2 : 1);
    return std::string(name, std::strcspn(name, "="));
}

template<std::size_t Size> bool isIn(const std::string &name, const char *const (&names)[Size])
{
    for (const char *candidate : names) {
        if (name == candidate)
            return true;
    }
    return false;
}

} // namespace

std::vector<char *> StartupArguments::withoutQtOptions(int argc, char **argv)
{
    std::vector<char *> kept;
    if (argc > 0)
        kept.push_back(argv[0]);
    for (int i = 1; i < argc; ++i) {
        const std::string name = optionName(argv[i]);
        if (isIn(name, optionsWithValue)) {
            if (!std::strchr(argv[i], '='))
                ++i; // and its value, as Qt would take it
        } else if (!isIn(name, flags)) {
            kept.push_back(argv[i]);
        }
    }
    kept.push_back(nullptr);
    return kept;
}

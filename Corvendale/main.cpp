#include "Corvendale/App/AppDelegate.hpp"

#include "Platform/Terminal/TerminalDisplay.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIApplicationMain.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// On the desktop, opened URLs go to the user's browser or file handler.
void openURLsOnTheDesktop()
{
    UIKit::UIApplication::setExternalURLHandler({
        [](const Foundation::URL& url) { return !url.scheme().empty(); },
        [](const Foundation::URL& url, std::function<void(bool)> completion) {
            const std::string text = url.absoluteString().utf8();
            pid_t child = fork();
            if (child == 0) {
                // Detached from the terminal the display owns.
                std::freopen("/dev/null", "r", stdin);
                std::freopen("/dev/null", "w", stdout);
                std::freopen("/dev/null", "w", stderr);
                execlp("xdg-open", "xdg-open", text.c_str(), static_cast<char*>(nullptr));
                _exit(127);
            }
            int status = 0;
            completion(child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0);
        },
    });
}

} // namespace

int main(int argc, char** argv)
{
    Corvendale::registerProgramClasses();
    openURLsOnTheDesktop();
    Terminal::TerminalDisplay::install();
    return UIKit::UIApplicationMain(argc, argv, std::nullopt, Foundation::String(Corvendale::AppDelegate::className));
}

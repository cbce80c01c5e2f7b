// The module's single export: the host calls it with the name of the exchange area it has filled.
#include <cstdint>
#include <exception>
#include <string>

#include "platform/gui/application.h"
#include "platform/gui/plain_message.h"
#include "plugin/function1.h"
#include "ui/animated_cursors.h"

extern "C" __attribute__((visibility("default"))) int32_t CalcModuleRun(const char* name) {
    try {
        gui::EnsureApplication();
        // The cursor table needs the application object, so the module's cursors are registered on the
        // first call rather than when the library is mapped.
        ui::RegisterModuleCursors();
        auto window = plugin::TFCalcBasisClass::Create<plugin::TFFunction1>();
        try {
            window->OpenExchange(name != nullptr ? std::string(name) : std::string());
            window->exec();
        } catch (...) {
            window->CloseExchange();
            throw;
        }
        window->CloseExchange();
    } catch (const std::exception& e) {
        gui::ShowPlainMessage(e.what());
    } catch (...) {
        gui::ShowPlainMessage("Unbekannter Fehler");
    }
    return 0;
}

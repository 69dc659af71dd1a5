// The LibreOffice backend as the module tpworm-libreoffice.so: the UNO
// libraries it needs are mapped only by a run that creates the spreadsheet
// application (documents/automation.cpp loads it then), never by the start of
// a program or by a command that does not export through the application.
#include "documents/lo_backend.h"

#include <memory>

// The application object, as createLibreOfficeApplication (early false) or
// startLibreOfficeApplication (early true) gives it, with the installation's
// settings; throws what they throw.
extern "C" __attribute__((visibility("default"))) void tpworm_libreoffice_application(
    bool early, std::shared_ptr<tpworm::automation::Object>* application)
{
    using namespace tpworm::automation;
    const LibreOfficeSettings settings = LibreOfficeSettings::fromEnvironment();
    *application = early ? startLibreOfficeApplication(settings) : createLibreOfficeApplication(settings);
}

#include "app/cli_duty.h"

#include "app/cli_commands.h"
#include "rating/duty_cells.h"
#include "workbook/workbook.h"

namespace tpworm::cli {

bool takeDutyOptions(QStringList& arguments, rating::DutyTexts& duty, MaterialOption material)
{
    const char* materialName = material == MaterialOption::MaterialPair ? "--material" : "--material-pair";
    const std::pair<const char*, QString rating::DutyTexts::*> options[] = {
        {"--power", &rating::DutyTexts::inputPower},      {"--speed", &rating::DutyTexts::wormSpeed},
        {materialName, &rating::DutyTexts::material},     {"--material-pair", &rating::DutyTexts::material},
        {"--friction", &rating::DutyTexts::friction},
        {"--ambient", &rating::DutyTexts::ambient},       {"--oil-limit", &rating::DutyTexts::oilLimit},
        {"--heat-transfer", &rating::DutyTexts::heatTransfer}, {"--housing-area", &rating::DutyTexts::housingArea},
        {"--other-efficiency", &rating::DutyTexts::otherEfficiency},
    };
    bool given = false;
    QStringList rest;
    for (int k = 0; k < arguments.size(); ++k) {
        const QString a = arguments[k];
        bool taken = false;
        for (const auto& [name, member] : options) {
            if (a != QLatin1String(name))
                continue;
            if (k + 1 >= arguments.size())
                throw UsageError(a.toStdString() + " needs a value");
            duty.*member = arguments[++k];
            if (member == &rating::DutyTexts::material)
                duty.friction.clear();
            taken = given = true;
            break;
        }
        if (!taken)
            rest << a;
    }
    arguments = rest;
    return given;
}

std::optional<rating::DutyTexts> dutyInFile(const QString& file)
{
    try {
        workbook::Workbook book;
        book.SetFileName(file);
        book.Load();
        return rating::readDutyCells([&book](int c, int r) { return book.GetCellText(c, r); });
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace tpworm::cli

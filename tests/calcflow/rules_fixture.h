// A small rules database with known rows, so that expected values do not
// depend on the shipped data. Tests change rows or drop tables before
// writing it into a temporary program directory.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>
#include <vector>

namespace tpworm::testing {

struct FixtureTable {
    QString name;
    QStringList columns;
    QList<QVariantList> rows;
};

// N[0] = 1 with the coefficients of the worked example for the rest.
inline constexpr std::array<double, 16> kFixtureCoefficients{1, 1.2, 1, 0.5, 0, 0.55, 2, 0, 0.15, 0.5, 0.5, 1, 0.5, 1, 0.9, 9};

class RulesFixture {
public:
    // nzhi; 6ji, 7ji and 8ji (8ji with a gap between 80 and 100 mm);
    // xiuyuan up to 1000 mm; xiuyuanchangdu up to 300 teeth. See the .cpp.
    static RulesFixture standard();

    FixtureTable& table(const QString& name);
    void drop(const QString& name);
    // Writes an SQLite file; a failed SQL statement fails the running test.
    void write(const QString& path) const;

private:
    std::vector<FixtureTable> tables_;
};

} // namespace tpworm::testing

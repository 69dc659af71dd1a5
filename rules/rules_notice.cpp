#include "rules/rules_notice.h"

#include "app/tform1.h"
#include "core/numeric.h"

#include <QComboBox>
#include <QLineEdit>

namespace tpworm::rules {

namespace {

// Right of the grade text, under the calculate button, left of the
// recommended-parameter group.
const QRect kGeometry(248, 243, 124, 28);
const QColor kNoticeColour(176, 0, 0);

} // namespace

RulesNotice::RulesNotice(TForm1& form) : QLabel(form.centralWidget()), form_(form)
{
    setObjectName(QStringLiteral("RulesNotice"));
    setTextFormat(Qt::PlainText);
    setGeometry(kGeometry);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    setFont(small);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, kNoticeColour);
    setPalette(p);
    hide();
    connect(form.Edit1, &QLineEdit::textChanged, this, &RulesNotice::refresh);
    connect(form.ComboBox1, &QComboBox::currentIndexChanged, this, &RulesNotice::refresh);
}

void RulesNotice::reload()
{
    try {
        sources_ = readSources(form_.rulesDatabasePath());
    } catch (const std::exception&) {
        // The coefficient load reports a database it cannot read.
        sources_.clear();
    }
    refresh();
}

void RulesNotice::refresh()
{
    reference_ = referenceNotice(sources_);
    range_ = {};
    const QString grade = form_.ComboBox1->currentText();
    const std::optional<TableSource> table = findSource(sources_, grade + QStringLiteral("ji"));
    if (table && !form_.Edit1->text().isEmpty()) {
        try {
            range_ = rangeWarning(*table, StrToFloat(form_.Edit1->text()));
        } catch (const ConvertError&) {
            // The centre-distance field reports its own reading errors.
        }
    }
    QStringList lines, details;
    for (const Notice* notice : {&range_, &reference_}) {
        if (notice->shown()) {
            lines << notice->line;
            details << notice->details;
        }
    }
    setText(lines.join(QLatin1Char('\n')));
    setToolTip(details.join(QStringLiteral("\n\n")));
    setVisible(!lines.isEmpty());
}

RulesNotice* createRulesNotice(TForm1& form)
{
    if (RulesNotice* existing = rulesNotice(form))
        return existing;
    return new RulesNotice(form);
}

RulesNotice* rulesNotice(const TForm1& form)
{
    return form.centralWidget() ? form.centralWidget()->findChild<RulesNotice*>(QString(), Qt::FindDirectChildrenOnly)
                                : nullptr;
}

} // namespace tpworm::rules

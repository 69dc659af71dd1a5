#include "model/occt/step_file.h"

#include "model/occt/solids.h"

#include <IFSelect_ReturnStatus.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <Message_PrinterOStream.hxx>
#include <Interface_Static.hxx>
#include <STEPCAFControl_Writer.hxx>
#include <TDF_Label.hxx>
#include <TDataStd_Name.hxx>
#include <TDocStd_Document.hxx>
#include <TopLoc_Location.hxx>
#include <XCAFApp_Application.hxx>
#include <XCAFDoc_DocumentTool.hxx>
#include <XCAFDoc_ShapeTool.hxx>

#include <QFile>
#include <QTemporaryDir>

namespace tpworm::model::occt {

QByteArray stepFile(const std::vector<StepPart>& parts, const std::string& assemblyName)
{
    if (parts.empty())
        throw ModelError("nothing to write");
    Handle(XCAFApp_Application) application = XCAFApp_Application::GetApplication();
    Handle(TDocStd_Document) document;
    application->NewDocument("MDTV-XCAF", document);
    const Handle(XCAFDoc_ShapeTool) shapes = XCAFDoc_DocumentTool::ShapeTool(document->Main());
    if (parts.size() == 1) {
        const TDF_Label label = shapes->AddShape(parts.front().shape, false);
        TDataStd_Name::Set(label, parts.front().name.c_str());
    } else {
        const TDF_Label assembly = shapes->NewShape();
        TDataStd_Name::Set(assembly, assemblyName.c_str());
        for (const StepPart& part : parts) {
            const TDF_Label label = shapes->AddShape(part.shape, false);
            TDataStd_Name::Set(label, part.name.c_str());
            const TDF_Label component = shapes->AddComponent(assembly, label, TopLoc_Location(part.placement));
            TDataStd_Name::Set(component, part.name.c_str());
        }
        shapes->UpdateAssemblies();
    }

    // The translator's statistics would go to standard output, which is the
    // command line's.
    Message::DefaultMessenger()->RemovePrinters(STANDARD_TYPE(Message_PrinterOStream));
    // The translation settings are global to OpenCASCADE: set for every file.
    Interface_Static::SetCVal("write.step.schema", "AP214IS");
    Interface_Static::SetCVal("write.step.unit", "MM");
    Interface_Static::SetCVal("xstep.cascade.unit", "MM");
    STEPCAFControl_Writer writer;
    writer.SetNameMode(true);
    writer.SetColorMode(false);
    writer.SetLayerMode(false);
    const bool transferred = writer.Transfer(document, STEPControl_AsIs);
    // The writer writes to a path: a private folder, read back whole, so the
    // caller writes the target atomically.
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("model.step"));
    const bool written = transferred && folder.isValid()
                         && writer.Write(QFile::encodeName(path).constData()) == IFSelect_RetDone;
    application->Close(document);
    QFile file(path);
    if (!written || !file.open(QIODevice::ReadOnly))
        throw ModelError("OpenCASCADE could not write the STEP file");
    return file.readAll();
}

} // namespace tpworm::model::occt

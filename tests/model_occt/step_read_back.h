// Reads STEP bytes back through OpenCASCADE's own reader, as a program
// opening the file would: the checks then speak of the file, not of the
// shape in memory that wrote it.
#pragma once

#include <STEPControl_Reader.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS_Shape.hxx>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tpworm::testing {

// Use under ASSERT_NO_FATAL_FAILURE: a file that cannot be read fails the test.
inline void readStepBack(const QByteArray& bytes, TopoDS_Shape& shape)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("part.step");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    STEPControl_Reader reader;
    ASSERT_EQ(reader.ReadFile(path.toUtf8().constData()), IFSelect_RetDone);
    reader.TransferRoots();
    shape = reader.OneShape();
}

inline int countOf(const TopoDS_Shape& shape, TopAbs_ShapeEnum kind)
{
    int n = 0;
    for (TopExp_Explorer e(shape, kind); e.More(); e.Next())
        ++n;
    return n;
}

} // namespace tpworm::testing

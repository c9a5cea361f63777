#pragma once
// The skin object classes by name, for reading skins and taking copies.
#include <QString>
#include <QStringList>

class TComponent;
class TSkSkinObject;

using SkinObjectFactory = TSkSkinObject* (*)(TComponent* owner);
// Exact, case-sensitive class names; null when unknown.
SkinObjectFactory FindSkinObjectClass(const QString& className);
void RegisterSkinObjectClass(const QString& className, SkinObjectFactory factory);
QStringList SkinObjectClassNames();
// A new object of source's class, with no owner, assigned from source.
TSkSkinObject* CloneSkinObject(const TSkSkinObject& source);

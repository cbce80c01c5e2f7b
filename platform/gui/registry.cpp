#include "platform/gui/registry.h"

#include <QMetaObject>
#include <QMetaProperty>
#include <QObject>
#include <QWidget>
#include <map>
#include <memory>

namespace gui {

namespace {

std::map<std::string, const QMetaObject*>& Classes() {
    static std::map<std::string, const QMetaObject*> classes;
    return classes;
}

}  // namespace

void RegisterClass(const std::string& name, const QMetaObject* meta) {
    Classes()[name] = meta;
}

void UnregisterClass(const std::string& name) {
    Classes().erase(name);
}

const QMetaObject* FindClass(const std::string& name) {
    auto it = Classes().find(name);
    return it == Classes().end() ? nullptr : it->second;
}

bool InvokeRegisteredOperation(const std::string& className, const char* operation, QObject* argument) {
    const QMetaObject* meta = FindClass(className);
    if (!meta) return false;
    QByteArray signature = QMetaObject::normalizedSignature((std::string(operation) + "(QWidget*)").c_str());
    int index = meta->indexOfMethod(signature.constData());
    if (index < 0) return false;
    std::unique_ptr<QObject> instance(meta->newInstance());
    if (!instance) return false;
    QWidget* widget = qobject_cast<QWidget*>(argument);
    return meta->method(index).invoke(instance.get(), Qt::DirectConnection, Q_ARG(QWidget*, widget));
}

bool SetPublishedProperty(QObject* object, const char* name, const QVariant& value) {
    if (!object) return false;
    const QMetaObject* meta = object->metaObject();
    int index = meta->indexOfProperty(name);
    if (index < 0) return false;
    QMetaProperty property = meta->property(index);
    if (!property.isWritable()) return false;
    QVariant converted = value;
    if (!converted.convert(property.metaType())) return false;
    return property.write(object, converted);
}

}  // namespace gui

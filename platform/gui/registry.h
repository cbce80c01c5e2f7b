#pragma once
// The process-wide registry of classes by name, and published properties set by name.
//
// A class is registered with its meta-object. Code that must not depend on a class finds it by name,
// creates an instance through a Q_INVOKABLE default constructor and calls a Q_INVOKABLE operation found
// by its name (see InvokeRegisteredOperation).
#include <QVariant>
#include <string>

class QObject;
struct QMetaObject;

namespace gui {

void RegisterClass(const std::string& name, const QMetaObject* meta);
void UnregisterClass(const std::string& name);
const QMetaObject* FindClass(const std::string& name);  // null when none; names compared exactly

// Finds the class `className`, creates a throw-away instance, calls its operation
// `operation(QWidget*)` with `argument`, and destroys the instance. Returns false, doing nothing,
// when the class, its invokable constructor or the operation is missing.
bool InvokeRegisteredOperation(const std::string& className, const char* operation, QObject* argument);

// Sets the published property `name` (a Q_PROPERTY) of `object`. An unknown name is refused
// (false) rather than created as a dynamic property; so is a value that does not convert.
bool SetPublishedProperty(QObject* object, const char* name, const QVariant& value);

}  // namespace gui

// Gives a control of a settings page its numeric id as the object name ("id1101"), which is how tests and
// the help refer to it.
#pragma once

#include <QObject>
#include <QString>

template <typename T>
T* WithId(T* control, int id) {
  control->setObjectName(QString("id%1").arg(id));
  return control;
}

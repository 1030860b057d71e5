#include "link/project.h"

#include "framework/data/datamanager.h"

Project::Project(QObject* parent) : QObject(parent), m_dobj(kx::d("project")) {}

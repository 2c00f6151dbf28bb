#pragma once
// The box that ends a run started from the menu: what the run read, wrote
// and refused, and the name of its run log, with a button that opens the
// log in the preview window.

#include "report/resumo_execucao.h"

class QWidget;

void MostraResumo(const ResumoExecucao& resumo, QWidget* pai = nullptr);

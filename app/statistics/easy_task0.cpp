#include "app/statistics/easy_task0.h"

void EasyTask0::Run() {
  if (callable_) callable_();
}

// The bodies of the nine periodic timer callbacks: menu blink, help-screen
// animation, field spin and gravity. The timer thread calls each one with
// the game-state lock held; none of them measures time.
#pragma once

void Tick300();
void Tick1000();
void Tick800();
void Tick600();
void Tick400();
void Tick200();
void Tick100();
void Tick10();
void Tick3000();

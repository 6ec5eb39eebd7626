#include "world/StoneList.h"

StoneList::StoneList() {
    stones.reserve(kReservedStones);
}

void StoneList::addStone(const Stone& stone) {
    stones.push_back(stone);
}

void StoneList::clearStones() {
    stones.clear();
}

#include "world/HitBox.h"

namespace {

bool centredOverlap(float centreA, float extentA, float centreB, float extentB) {
    return centreA + extentA / 2.0f >= centreB - extentB / 2.0f &&
           centreB + extentB / 2.0f >= centreA - extentA / 2.0f;
}

bool bottomUpOverlap(float bottomA, float heightA, float bottomB, float heightB) {
    return bottomA + heightA >= bottomB && bottomB + heightB >= bottomA;
}

} // namespace

bool HitBox::intersects(const HitBox& other) const {
    return centredOverlap(position.x, size.x, other.position.x, other.size.x) &&
           bottomUpOverlap(position.y, size.y, other.position.y, other.size.y) &&
           centredOverlap(position.z, size.z, other.position.z, other.size.z);
}

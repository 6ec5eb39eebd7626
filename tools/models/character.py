"""Builds the runner character in headless Blender and writes it as an FBX file.

Run: blender -b --factory-startup --python-use-system-env --python character.py -- OUT.fbx
(with PYTHONHASHSEED=0 so the exporter's hashed containers come out in a fixed order).

The figure is built in Blender's frame (Z up, facing -Y, left side at +X), 500 units tall
with its feet at z = 0; the exporter turns it into Y up, facing +Z. Two actions become two
animation stacks, written in alphabetical order: clip 0 "Jump", clip 1 "Run".
"""

import datetime
import hashlib
import math
import sys

import bmesh
import bpy
from mathutils import Euler, Matrix, Vector

import io_scene_fbx.export_fbx_bin as fbx_bin
import io_scene_fbx.fbx_utils as fbx_utils

FPS = 24
RUN_FRAMES = 16   # one stride of each leg: about 3.6 steps a second
JUMP_FRAMES = 12  # a small airborne pump that loops, so any starting tick looks right
SIDES = 10        # sides of every limb and body tube

# name: (base colour, specular colour, roughness)
MATERIALS = {
    "Skin": ((0.90, 0.66, 0.50), (0.20, 0.18, 0.16), 0.6),
    "Hair": ((0.24, 0.13, 0.06), (0.30, 0.28, 0.25), 0.5),
    "Shirt": ((0.12, 0.38, 0.88), (0.20, 0.20, 0.25), 0.7),
    "Trousers": ((0.16, 0.17, 0.24), (0.15, 0.15, 0.15), 0.7),
    "Shoes": ((0.88, 0.18, 0.12), (0.40, 0.40, 0.40), 0.4),
}
MATERIAL_ORDER = list(MATERIALS)

# name: (head, tail, parent)
BONES = {
    "hips": ((0, 0, 255), (0, 0, 300), None),
    "spine": ((0, 0, 300), (0, 0, 350), "hips"),
    "chest": ((0, 0, 350), (0, 0, 410), "spine"),
    "neck": ((0, 0, 410), (0, 0, 432), "chest"),
    "head": ((0, 0, 432), (0, 0, 500), "neck"),
}
for side, sx in (("L", 1), ("R", -1)):
    BONES.update({
        f"upper_arm.{side}": ((78 * sx, 0, 402), (84 * sx, 0, 300), "chest"),
        f"lower_arm.{side}": ((84 * sx, 0, 300), (88 * sx, 0, 212), f"upper_arm.{side}"),
        f"hand.{side}": ((88 * sx, 0, 212), (90 * sx, 0, 160), f"lower_arm.{side}"),
        f"upper_leg.{side}": ((38 * sx, 0, 255), (38 * sx, 0, 140), "hips"),
        f"lower_leg.{side}": ((38 * sx, 0, 140), (38 * sx, 0, 30), f"upper_leg.{side}"),
        f"foot.{side}": ((38 * sx, 0, 30), (38 * sx, -50, 8), f"lower_leg.{side}"),
    })


class Builder:
    """Collects vertices with bone weights and faces with materials."""

    def __init__(self):
        self.verts = []
        self.weights = []
        self.faces = []
        self.face_materials = []

    def add_vertex(self, co, weights):
        self.verts.append(tuple(float(c) for c in co))
        self.weights.append(weights)
        return len(self.verts) - 1

    def add_face(self, indices, material):
        self.faces.append(tuple(indices))
        self.face_materials.append(MATERIAL_ORDER.index(material))

    def tube(self, rings, materials):
        """rings: (points, weights) with equal point counts; materials: one per segment.
        The ends are closed with caps of the neighbouring segment's material."""
        ids = [[self.add_vertex(p, w) for p in points] for points, w in rings]
        n = len(ids[0])
        for r in range(len(ids) - 1):
            a, b = ids[r], ids[r + 1]
            for k in range(n):
                k2 = (k + 1) % n
                self.add_face((a[k], a[k2], b[k2], b[k]), materials[r])
        self.add_face(list(reversed(ids[0])), materials[0])
        self.add_face(ids[-1], materials[-1])


def ellipse(cx, cy, z, rx, ry):
    return [(cx + rx * math.cos(2 * math.pi * k / SIDES), cy + ry * math.sin(2 * math.pi * k / SIDES), z)
            for k in range(SIDES)]


def blend(a, b, t=0.5):
    return {a: 1.0 - t, b: t}


def build_body(builder):
    # Torso: trousers up to the belt, shirt above it.
    builder.tube([
        (ellipse(0, 2, 225, 44, 28), {"hips": 1.0}),
        (ellipse(0, 2, 262, 52, 31), {"hips": 1.0}),
        (ellipse(0, 2, 300, 47, 29), blend("hips", "spine")),
        (ellipse(0, 0, 350, 52, 31), blend("spine", "chest")),
        (ellipse(0, 0, 392, 62, 33), {"chest": 1.0}),
        (ellipse(0, 2, 414, 40, 25), {"chest": 1.0}),
    ], ["Trousers", "Trousers", "Shirt", "Shirt", "Shirt"])
    builder.tube([
        (ellipse(0, 3, 405, 15, 14), {"chest": 1.0}),
        (ellipse(0, 3, 428, 15, 14), blend("neck", "head", 0.3)),
        (ellipse(0, 3, 445, 14, 13), {"head": 1.0}),
    ], ["Skin", "Skin"])
    build_head(builder)
    for side, sx in (("L", 1), ("R", -1)):
        build_arm(builder, side, sx)
        build_leg(builder, side, sx)


def build_head(builder):
    """An egg of quads; the back and the crown are hair, the face is skin."""
    centre = Vector((0, 2, 466))
    radii = Vector((34, 37, 40))
    stacks = 7
    top = builder.add_vertex(centre + Vector((0, 0, radii.z)), {"head": 1.0})
    bottom = builder.add_vertex(centre - Vector((0, 0, radii.z)), {"head": 1.0})
    rings = []
    for s in range(1, stacks):
        polar = math.pi * s / stacks
        ring = []
        for k in range(SIDES):
            azimuth = 2 * math.pi * k / SIDES
            p = Vector((math.sin(polar) * math.cos(azimuth) * radii.x,
                        math.sin(polar) * math.sin(azimuth) * radii.y,
                        math.cos(polar) * radii.z))
            ring.append(builder.add_vertex(centre + p, {"head": 1.0}))
        rings.append(ring)

    def material_at(points):
        mid = sum((Vector(builder.verts[i]) for i in points), Vector()) / len(points) - centre
        back = mid.y > -radii.y * 0.15 and mid.z > -radii.z * 0.55
        crown = mid.z > radii.z * 0.45
        return "Hair" if back or crown else "Skin"

    for k in range(SIDES):
        k2 = (k + 1) % SIDES
        cap = (top, rings[0][k2], rings[0][k])
        builder.add_face(cap, material_at(cap))
        base = (bottom, rings[-1][k], rings[-1][k2])
        builder.add_face(base, material_at(base))
        for s in range(len(rings) - 1):
            quad = (rings[s][k], rings[s][k2], rings[s + 1][k2], rings[s + 1][k])
            builder.add_face(quad, material_at(quad))


def build_arm(builder, side, sx):
    up, low, hand = f"upper_arm.{side}", f"lower_arm.{side}", f"hand.{side}"
    builder.tube([
        (ellipse(79 * sx, 0, 410, 21, 20), {up: 1.0}),
        (ellipse(81 * sx, 0, 360, 19, 18), {up: 1.0}),
        (ellipse(82 * sx, 0, 335, 18, 17), {up: 1.0}),
        (ellipse(83 * sx, 0, 330, 15, 15), {up: 1.0}),
        (ellipse(84 * sx, 0, 300, 14, 14), blend(up, low)),
        (ellipse(86 * sx, 0, 255, 13, 13), {low: 1.0}),
        (ellipse(88 * sx, 0, 215, 11, 11), blend(low, hand)),
        (ellipse(89 * sx, -2, 195, 12, 14), {hand: 1.0}),
        (ellipse(90 * sx, -2, 165, 10, 12), {hand: 1.0}),
    ], ["Shirt", "Shirt", "Shirt", "Skin", "Skin", "Skin", "Skin", "Skin"])


def build_leg(builder, side, sx):
    up, low, foot = f"upper_leg.{side}", f"lower_leg.{side}", f"foot.{side}"
    builder.tube([
        (ellipse(36 * sx, 2, 268, 26, 27), {up: 1.0}),
        (ellipse(38 * sx, 2, 205, 24, 24), {up: 1.0}),
        (ellipse(38 * sx, 1, 140, 19, 19), blend(up, low)),
        (ellipse(38 * sx, 2, 85, 17, 17), {low: 1.0}),
        (ellipse(38 * sx, 2, 34, 14, 14), blend(low, foot, 0.3)),
    ], ["Trousers"] * 4)
    # The shoe: a wedge from heel to toe, a little wider than the ankle.
    x = 38 * sx

    def section(y, half_width, height):
        return [(x - half_width, y, 0), (x + half_width, y, 0),
                (x + half_width, y, height), (x - half_width, y, height)]

    builder.tube([
        (section(18, 15, 40), {foot: 1.0}),
        (section(-12, 17, 34), {foot: 1.0}),
        (section(-40, 16, 24), {foot: 1.0}),
        (section(-56, 12, 14), {foot: 1.0}),
    ], ["Shoes"] * 3)


def make_materials():
    result = []
    for name in MATERIAL_ORDER:
        colour, _specular, roughness = MATERIALS[name]
        material = bpy.data.materials.new(name)
        material.use_nodes = True
        principled = material.node_tree.nodes["Principled BSDF"]
        principled.inputs["Base Color"].default_value = (*colour, 1.0)
        principled.inputs["Roughness"].default_value = roughness
        material.diffuse_color = (*colour, 1.0)
        result.append(material)
    return result


def make_armature():
    data = bpy.data.armatures.new("Skeleton")
    rig = bpy.data.objects.new("Rig", data)
    bpy.context.scene.collection.objects.link(rig)
    bpy.context.view_layer.objects.active = rig
    bpy.ops.object.mode_set(mode="EDIT")
    for name, (head, tail, parent) in BONES.items():
        bone = data.edit_bones.new(name)
        bone.head = head
        bone.tail = tail
        bone.roll = 0.0
        if parent:
            bone.parent = data.edit_bones[parent]
            bone.use_connect = False
    bpy.ops.object.mode_set(mode="OBJECT")
    return rig


def make_mesh(builder, rig, materials):
    mesh = bpy.data.meshes.new("Body")
    mesh.from_pydata(builder.verts, [], builder.faces)
    for material in materials:
        mesh.materials.append(material)
    for polygon, index in zip(mesh.polygons, builder.face_materials):
        polygon.material_index = index
    bm = bmesh.new()
    bm.from_mesh(mesh)
    bmesh.ops.recalc_face_normals(bm, faces=bm.faces)
    bm.to_mesh(mesh)
    bm.free()
    mesh.update()

    body = bpy.data.objects.new("Body", mesh)
    bpy.context.scene.collection.objects.link(body)
    groups = {name: body.vertex_groups.new(name=name) for name in BONES}
    for index, weights in enumerate(builder.weights):
        total = sum(weights.values())
        for bone, weight in weights.items():
            groups[bone].add([index], weight / total, "REPLACE")
    body.parent = rig
    modifier = body.modifiers.new("Skin", "ARMATURE")
    modifier.object = rig
    return body


def deg(x, y=0.0, z=0.0):
    return (math.radians(x), math.radians(y), math.radians(z))


def run_pose(frame):
    """Bone rotations (degrees about the armature's axes, relative to the parent) and hip lift.
    Positive X turns a hanging limb's end backwards (+Y) and an upright one's forwards."""
    phase = 2 * math.pi * frame / RUN_FRAMES
    pose = {}
    for side, offset, out in (("L", 0.0, -1), ("R", math.pi, 1)):
        p = phase + offset
        pose[f"upper_leg.{side}"] = deg(-8 - 38 * math.sin(p))
        recovery = max(0.0, math.cos(p - 0.3))
        pose[f"lower_leg.{side}"] = deg(18 + 80 * recovery ** 1.5)
        pose[f"foot.{side}"] = deg(-10 + 18 * math.cos(p))
        pose[f"upper_arm.{side}"] = deg(34 * math.sin(p), 10 * out)
        pose[f"lower_arm.{side}"] = deg(-78 - 12 * math.sin(p))
        pose[f"hand.{side}"] = deg(-10)
    pose["hips"] = deg(0, 0, 7 * math.sin(phase))
    pose["spine"] = deg(10, 0, -5 * math.sin(phase))
    pose["chest"] = deg(4, 0, -8 * math.sin(phase))
    pose["neck"] = deg(-6)
    pose["head"] = deg(-6)
    lift = 10 * math.cos(2 * phase) - 6
    return pose, Vector((0, 0, lift))


def jump_pose(frame):
    """A runner's leap: the left knee driven forward and up, the right heel kicked up behind,
    the right arm punched forward and up with the elbow bent and the left one swung back. From
    the game's camera, behind and above at a few dozen pixels, arms held out sideways read as
    a model that failed to animate, so every swing stays close to the body's own plane. A small
    pump of arms and legs loops, so any starting tick looks right."""
    phase = 2 * math.pi * frame / JUMP_FRAMES
    pump = math.sin(phase)
    pose = {
        "upper_leg.L": deg(-88 - 6 * pump, -12),
        "lower_leg.L": deg(95 + 5 * pump),
        "foot.L": deg(20),
        "upper_leg.R": deg(10 + 5 * pump, 8),
        "lower_leg.R": deg(135 - 5 * pump),
        "foot.R": deg(0),
        "upper_arm.R": deg(-98 - 8 * pump, 18),
        "lower_arm.R": deg(-65),
        "hand.R": deg(-10),
        "upper_arm.L": deg(50 + 8 * pump, -15),
        "lower_arm.L": deg(-90),
        "hand.L": deg(-10),
    }
    # The chest turns the leading right shoulder forward. The hips stay square: turned with the
    # leading knee they would hide its shoe behind the body from the camera.
    pose["hips"] = deg(0)
    pose["spine"] = deg(12 + 2 * pump)
    pose["chest"] = deg(4, 0, 8)
    pose["neck"] = deg(-8)
    pose["head"] = deg(-8)
    return pose, Vector((0, 0, 20 + 6 * pump))


def make_action(rig, name, frames, pose_at):
    action = bpy.data.actions.new(name)
    rig.animation_data_create()
    rig.animation_data.action = action
    rest = {bone.name: bone.matrix_local.to_3x3() for bone in rig.data.bones}
    previous = {}
    for frame in range(frames + 1):
        pose, lift = pose_at(frame % frames)
        for pose_bone in rig.pose.bones:
            name = pose_bone.name
            rotation = Euler(pose.get(name, deg(0)), "XYZ").to_matrix()
            local = (rest[name].inverted() @ rotation @ rest[name]).to_quaternion()
            if name in previous:
                local.make_compatible(previous[name])
            previous[name] = local
            pose_bone.rotation_mode = "QUATERNION"
            pose_bone.rotation_quaternion = local
            pose_bone.keyframe_insert("rotation_quaternion", frame=frame, group=name)
            pose_bone.location = rest[name].inverted() @ lift if name == "hips" else Vector()
            pose_bone.keyframe_insert("location", frame=frame, group=name)
            pose_bone.scale = (1, 1, 1)
            pose_bone.keyframe_insert("scale", frame=frame, group=name)
    action.use_fake_user = True
    return action


def patch_exporter():
    """Ambient = base colour and an authored specular colour (the stock writer hard-codes an
    ambient factor of 0 and uses the base colour as specular), and a fixed creation date so
    two runs write the same bytes."""
    current = {}
    write_material = fbx_bin.fbx_data_material_elements
    set_property = fbx_bin.elem_props_template_set
    write_header = fbx_bin.fbx_header_elements

    def material_elements(root, ma, scene_data):
        current["material"] = ma
        try:
            write_material(root, ma, scene_data)
        finally:
            current.pop("material")

    def property_setter(tmpl, props, ptype, name, value, *args, **kwargs):
        ma = current.get("material")
        if ma is not None and ma.name in MATERIALS:
            colour, specular, _roughness = MATERIALS[ma.name]
            value = {b"AmbientColor": colour, b"AmbientFactor": 1.0,
                     b"SpecularColor": specular, b"SpecularFactor": 1.0}.get(name, value)
        return set_property(tmpl, props, ptype, name, value, *args, **kwargs)

    def header_elements(root, scene_data, time=None):
        return write_header(root, scene_data, datetime.datetime(2024, 1, 1))

    def stable_uuid(uuids, key):
        if not (isinstance(key, int) and 0 <= key < 2**63):
            key = fbx_utils_stable_hash(repr(key))
        return original_uuid(uuids, key)

    original_uuid = fbx_utils._key_to_uuid
    fbx_bin.fbx_data_material_elements = material_elements
    fbx_bin.elem_props_template_set = property_setter
    fbx_bin.fbx_header_elements = header_elements
    fbx_utils._key_to_uuid = stable_uuid


def fbx_utils_stable_hash(text):
    return int.from_bytes(hashlib.sha256(text.encode()).digest()[:7], "little")


def main():
    out = sys.argv[sys.argv.index("--") + 1]
    bpy.ops.wm.read_factory_settings(use_empty=True)
    scene = bpy.context.scene
    scene.render.fps = FPS
    builder = Builder()
    build_body(builder)
    materials = make_materials()
    rig = make_armature()
    make_mesh(builder, rig, materials)
    make_action(rig, "Jump", JUMP_FRAMES, jump_pose)
    make_action(rig, "Run", RUN_FRAMES, run_pose)
    rig.animation_data.action = None
    # The node tree carries the armature's current pose: leave it in the rest pose.
    for pose_bone in rig.pose.bones:
        pose_bone.rotation_quaternion = (1, 0, 0, 0)
        pose_bone.location = (0, 0, 0)
        pose_bone.scale = (1, 1, 1)
    scene.frame_start = 0
    scene.frame_end = RUN_FRAMES
    patch_exporter()
    bpy.ops.export_scene.fbx(
        filepath=out, axis_forward="-Z", axis_up="Y", bake_space_transform=True,
        apply_unit_scale=True, apply_scale_options="FBX_SCALE_ALL", global_scale=1.0,
        add_leaf_bones=False, use_armature_deform_only=True, armature_nodetype="NULL",
        bake_anim=True, bake_anim_use_all_bones=True, bake_anim_use_nla_strips=False,
        bake_anim_use_all_actions=True, bake_anim_force_startend_keying=True,
        bake_anim_step=1.0, bake_anim_simplify_factor=0.0, use_tspace=False,
        mesh_smooth_type="FACE", path_mode="STRIP")
    print(f"character: {len(builder.verts)} vertices, {len(builder.faces)} faces")


main()

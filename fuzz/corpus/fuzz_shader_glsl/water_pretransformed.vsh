vs.1.1
m4x4	oPos, v0, c0
mov	oD0.rgba, v1

vs.1.1
mov	a0.x, v2.x
add	oT0, v1, c[a0.x + 64]
mov	a0.x, v2.y
m4x4	oPos, v0, c[a0.x + 0]

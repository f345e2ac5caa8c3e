vs.1.1
m4x4	r2, v0, c0
mov	oPos, r2
mov	r7, v2
add	r7.xy, v1.xz, v1.xz
m4x4	r1, v0, c8
add	r1, r1, r7
rcp	r7.w, r1.w
mul	oT0, r1.xyzw, r7.w
dp3	r6.x, v1.xyz, c6.xyz
max	r6.x, c4.x, r6.x
mul	r0.xyz, r6.xxx, c7
add	oD0.rgb,  r0.xyz, c5
mov	oD0.a, c4.y
